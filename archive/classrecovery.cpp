#include "archive/classrecovery.h"

#include "archive/pcname.h"
#include "archive/safefile.h"
#include "archive/session.h"
#include "model/learnerfilename.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ClassRecovery {

namespace {

const QString movedMark = QStringLiteral(" fortsat på ");

// A copy is opened under the name it was sealed with, so one PC's copy put in another's
// place does not open.
bool readState(const QString &path, const QString &sealedAs, const Keyring &keys, RecoveryState *state)
{
    QByteArray bytes;
    if (SafeFile::readSmall(path, SealedFile::largestFile, &bytes) != SafeFile::Read::Done)
        return false;
    QByteArray plain;
    QString reason;
    return SealedFile::open(keys, sealedAs, bytes, &plain) == SealedFile::Opened::Yes
            && RecoveryText::parse(plain, state, &reason);
}

QDir folderOf(const Session &session)
{
    return QDir(QDir(session.classFolder()).filePath(folderName()));
}

// The share's own time: that of a file this PC has just written there. Other PCs' files carry
// the server's times, so a PC whose clock runs minutes ahead or behind must not judge them by
// its own.
QDateTime shareTime(const QDir &folder, const QString &pc)
{
    const QString path = folder.filePath(pc + QStringLiteral(" ur.txt"));
    if (!SafeFile::write(path, QByteArrayLiteral("Skrivlo\n")))
        return QDateTime();
    const QDateTime stamped = QFileInfo(path).lastModified();
    QFile::remove(path);
    return stamped;
}

bool sameTest(const RecoveryState &a, const RecoveryState &b)
{
    return a.learner.started == b.learner.started && a.learner.reportName == b.learner.reportName;
}

} // namespace

QString folderName()
{
    return QStringLiteral("gemte-test");
}

QString nameFor(const QString &pc)
{
    return folderName() + QLatin1Char('/') + pc + QStringLiteral(".json");
}

void put(Session &session, const QByteArray &recoveryBytes)
{
    session.outbox().put(nameFor(session.pcName()), recoveryBytes);
}

QString beatName(const QString &pc)
{
    return folderName() + QLatin1Char('/') + pc + QStringLiteral(" i gang.txt");
}

void beat(const QString &classFolder, const QString &pc, const QDateTime &now)
{
    // Never makes the class folder itself: a missing one is a share not mounted.
    const QDir folder(classFolder);
    if (!folder.exists() || (!folder.exists(folderName()) && !folder.mkdir(folderName())))
        return;
    SafeFile::write(folder.filePath(beatName(pc)), now.toString(Qt::ISODate).toLatin1() + '\n');
}

void withdraw(Session &session)
{
    session.outbox().withdraw(nameFor(session.pcName()));
    session.onShare([classFolder = session.classFolder(), pc = session.pcName()]() { removeCopy(classFolder, pc); });
}

void removeCopy(const QString &classFolder, const QString &pc)
{
    const QDir folder(classFolder);
    QFile::remove(folder.filePath(SealedFile::sealedName(nameFor(pc))));
    QFile::remove(folder.filePath(beatName(pc)));
}

QVector<Found> leftByOthers(Session &session, QDateTime now, bool *looked)
{
    QVector<Found> found;
    const QDir folder = folderOf(session);
    const QDir classFolder(session.classFolder());
    // A drop box lets this PC put files in, not list what others put there.
    const QFileInfo listed(folder.path());
    if (looked)
        *looked = !listed.exists() || listed.isReadable();
    // A link put in the folder's place would lead the offer to tests kept anywhere: not followed.
    if (!listed.exists() || !listed.isReadable() || !SafeFile::mayWriteInto(folder.path()))
        return found;
    if (!now.isValid())
        now = shareTime(folder, session.pcName());
    if (!now.isValid())
        now = QDateTime::currentDateTime();
    const QString ending = QStringLiteral(".json") + SealedFile::suffix();
    // Picked out by hand, not by a name filter (see ClassKeys::linesIn); the times are the
    // listing's own, not asked for again.
    for (const QFileInfo &info : folder.entryInfoList(QDir::Files)) {
        if (!info.fileName().endsWith(ending))
            continue;
        const QString pc = info.fileName().chopped(ending.size());
        if (!PcName::isWellFormed(pc) || pc == session.pcName())
            continue;
        const QFileInfo alive(classFolder.filePath(beatName(pc)));
        if (info.lastModified().secsTo(now) < staleAfterSeconds
            || (alive.exists() && alive.lastModified().secsTo(now) < staleAfterSeconds))
            continue;
        Found test;
        if (!readState(info.filePath(), nameFor(pc), session.keys(), &test.state))
            continue;
        const QString report = test.state.learner.reportName;
        if (!report.isEmpty()
            && QFileInfo::exists(classFolder.filePath(SealedFile::sealedName(LearnerFileName::dataName(report)))))
            continue;
        test.pc = pc;
        test.saved = info.lastModified();
        test.path = info.filePath();
        found.append(test);
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.saved > b.saved; });
    return found;
}

bool takeOver(Session &session, const Found &found, QString *reason)
{
    const QString moved = folderOf(session).filePath(found.pc + movedMark + session.pcName() + SealedFile::suffix());
    const bool there = QFileInfo::exists(found.path);
    if (there)
        QFile::remove(moved); // left by an earlier take-over of an earlier test of the same PC
    if (!there || !QFile::rename(found.path, moved)) {
        *reason = QCoreApplication::translate("ClassRecovery",
                                              "Testen kunne ikke flyttes i klassemappen. Måske er den "
                                              "allerede fortsat på en anden pc, eller forbindelsen er afbrudt.");
        return false;
    }
    return true;
}

bool continuedElsewhere(Session &session, const RecoveryState &own, QString *pc)
{
    const QDir folder = folderOf(session);
    const QString prefix = session.pcName() + movedMark;
    for (const QString &name : folder.entryList(QDir::Files)) {
        RecoveryState moved;
        if (name.startsWith(prefix) && name.endsWith(SealedFile::suffix())
            && readState(folder.filePath(name), nameFor(session.pcName()), session.keys(), &moved)
            && sameTest(moved, own)) {
            *pc = name.mid(prefix.size()).chopped(SealedFile::suffix().size());
            return true;
        }
    }
    return false;
}

} // namespace ClassRecovery
