#pragma once

#include "sealing/classkey.h"
#include "sealing/keyring.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Outbox;

// Where a class key is found, and made. The school's own key is the line IT's
// "--ny-adgangskode" stores in the machine settings. Where the school has set no password of
// its own (or one from before keys), a PC keeps its key wrapped under the password in its
// working folder, takes the key of its class folder when one is there, or makes one. Every PC
// publishes its wrapped key in the class folder, "noegler/<id> <line's hash>.noegle", so that
// the teacher's view finds every key the class's files were sealed with; the view keeps each
// one it could open in the teacher's own keyring, so a deleted key file loses no result.
// A line that the password does not open is never used: a learner's own key is not taken.
namespace ClassKeys {

QString localFileName();
QString folderName();
QString ending();
// "noegler/<key id> <8 hex digits of the line's hash>.noegle"
QString publishedName(const QString &line);

// Lines read from one folder at the most: a class folder holds about one per PC, more where
// PCs start at the same moment or their working folders are wiped.
constexpr int mostLines = 1000;
// Lines a PC tries to take the class folder's key from: each try is a slow derivation.
constexpr int mostAdoptionTries = 3;

// The well-formed key lines in a folder, mostLines at the most.
QStringList linesIn(const QString &folder);
// The line this PC keeps in its working folder, or an empty string.
QString localLine(const QString &workingFolder);

struct Own
{
    std::shared_ptr<const ClassKey> key;
    QString line; // the key wrapped under the password
    bool keepLocally = false; // not the settings', and not yet in the working folder
    bool classFolderAnswered = true; // its lines were read in time: the share does not hang
};

// What a PC does before its key first seals anything: keeps the line in the working folder
// where it is not the settings', and puts it in the outbox for the class folder.
void keep(const Own &own, const QString &workingFolder, Outbox &outbox);

// This PC's key, after the password was accepted. fromSettings: what the settings' line gave,
// when they hold one. Else the working folder's copy when the password opens it, else a key
// line of the class folder's that it opens, else a new key (keepLocally then says to keep it
// in the working folder, which the caller does with keepLocally()). The class folder's lines are looked for no longer than lookMs
// (a share that hangs must not hold up the start) and handed back in classLines. A null key
// when libsodium cannot work here.
Own forPc(const Own &fromSettings, const QString &workingFolder, const QString &classFolder,
          const QString &password, QStringList *classLines = nullptr, int lookMs = 2000);

// Adds to keys every key that password opens from lines whose key it lacks. tried: lines
// that did not open before, not tried again (each try is a slow derivation). Returns the lines
// that opened. No more than mostTries lines are tried.
QStringList open(Keyring *keys, const QStringList &lines, const QString &password, QSet<QString> *tried = nullptr,
                 int mostTries = mostLines);

} // namespace ClassKeys
