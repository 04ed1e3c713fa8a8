#pragma once

#include "sealing/keyring.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

class Session;

// The learners the teacher deleted, by their ids ("<pc> <random id>", nothing of the learner),
// kept in the class folder so that a PC which still holds a copy (in its outbox, or a saved
// test in its working folder) drops it instead of bringing the learner back. One file for
// each class key, sealed with it, so that every PC can open the one its own key opens and no
// learner can add or remove an id unseen: "slettede-kursister/<key id>.txt".
namespace DeletedLearners {

QString folderName();
// The plain name of the list sealed with the key of that id.
QString nameFor(const QString &keyId);

// The learner's id in a file name of the class folder or the outbox ("<id>.html", "<id>.json",
// sealed or not); empty for any other file, also for names of the time before ids, which
// hold the learner's name and so never go into the list.
QString idOf(const QString &fileName);

// The list's text: a line that says what it is, then one id a line, sorted.
QByteArray text(const QSet<QString> &ids);
// False for anything that is not such a text; ids that are not well formed are skipped.
bool parse(const QByteArray &bytes, QSet<QString> *ids);

// Every id in the lists the keys open; nothing when the class folder cannot be read.
QSet<QString> read(const QString &classFolder, const Keyring &keys);

// Adds ids to the list of every key, keeping what each list held (and what record, the
// teacher's own copy, holds, in case a list was removed: with no ids, it only puts back what
// is missing). Each list is written atomically and
// may be read by every user of the share. False, with a Danish reason, when a list was not
// written.
bool add(const QString &classFolder, const Keyring &keys, const QString &record, const QSet<QString> &ids,
         QString *reason);

// The learner's id, or for a file of the time before ids the stem of its name, of a report
// name ("<stem>.html").
QString stemOf(const QString &reportName);

// The learner a saved test belongs to (stemOf its report), sealed under the name sealedAs or,
// from the time before sealing, in the clear (such a one is only ever deleted, never
// continued); empty when it cannot be opened or read.
QString stemOfSavedTest(const QString &path, const QString &sealedAs, const Keyring &keys);

// Removes the saved test and the saved tests set aside in a working folder that belong to one
// of the learners (by stemOf their report). Returns the names of those that went; left gets
// those that could not be removed.
QStringList forgetSavedTests(const QString &workingFolder, const Keyring &keys, const QSet<QString> &stems,
                             QStringList *left = nullptr);

// What a PC drops when it learns of deleted learners: its saved tests of them and their files
// in the outbox. Returns how many files went.
int forgetHere(Session &session, const QSet<QString> &ids);

} // namespace DeletedLearners
