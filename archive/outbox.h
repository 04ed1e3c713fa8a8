#pragma once

#include "sealing/classkey.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

// Files on their way to the class folder. Every file meant for the class folder is written
// here first, in the PC's own working folder ("udbakke"), under the name it will have there,
// and then copied over. What the class folder does not take (server off, cable out, share
// read-only or full) waits here and goes at the next send. Sending is idempotent: a file the
// class folder already holds with the same bytes is only taken out of the outbox; anything
// else reaches the class folder through a temporary name and a rename, so no half file is
// ever seen there. Put and send may run on different threads. A class folder that is
// missing is never made (but for the default one): it is most likely a share not mounted.
class Outbox
{
public:
    // mayCreate: the class folder is the default one in the working folder, made when missing.
    Outbox(const QString &workingFolder, const QString &classFolder, bool mayCreate = false);

    static QString folderName();
    QString path() const { return box; }

    // The key everything put from now on is sealed with; set once the password unlocked it.
    // firstUse runs once, before the key seals anything (to keep the key where it will be
    // found again): a start that ends at once leaves nothing behind.
    void setKey(std::shared_ptr<const ClassKey> key, std::function<void()> firstUse = {});
    // The key, after what its first use asks was done.
    std::shared_ptr<const ClassKey> keyInUse();

    // Seals bytes and writes them into the outbox under the file's plain name (relative, "/"
    // between folders) with the sealed ending. False when the working folder takes nothing
    // (then the caller tells, as for results.html), or when there is no key yet.
    bool put(const QString &name, const QByteArray &bytes);
    // A file that is no secret as it is (a wrapped class key), written as given.
    bool putAsIs(const QString &name, const QByteArray &bytes);
    // The file will not be sent after all (a recovery copy of a finished test).
    void withdraw(const QString &name);
    // Seals what an older version of the program left in the outbox in the clear, and removes
    // the plain file once its sealed copy is written. Returns how many it sealed.
    int sealLeftInTheClear();

    // Copies every waiting file. True when the outbox is empty afterwards; otherwise reason
    // says in Danish why the class folder took nothing.
    bool send(QString *reason = nullptr);

    // A learner's files that must never reach the class folder (the test went on at another
    // PC, whose result would be replaced): moved out of the outbox into folder, kept. Returns
    // how many.
    int setAside(const QString &stem, const QString &folder);

    // Relative names, as on disk, of the files still waiting.
    QStringList waiting() const;

private:
    bool sendOne(const QString &name, QString *reason);

    QString box;
    QString target;
    bool mayCreate;
    std::shared_ptr<const ClassKey> key;
    std::function<void()> firstUse;
    mutable QMutex guard; // between a put and the removal of what was sent
};
