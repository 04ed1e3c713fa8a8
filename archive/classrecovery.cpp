#include "archive/classrecovery.h"

#include "archive/pcname.h"
#include "archive/safefile.h"
#include "archive/session.h"
#include "model/learnerfilename.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ClassRecovery {

namespace {

// A test's worth of answers is a few kilobytes.
constexpr qint64 largest = 4 * 1024 * 1024;

const QString movedMark = QStringLiteral(" fortsat på ");

bool readState(const QString &path, RecoveryState *state)
{
    QFile file(path);
    if (!SafeFile::mayReplace(path) || !file.open(QIODevice::ReadOnly) || file.size() > largest)
        return false;
    QString reason;
    return RecoveryText::parse(file.readAll(), state, &reason);
}

QDir folderOf(const Session &session)
{
    return QDir(QDir(session.classFolder()).filePath(folderName()));
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
    const QString path = QDir(classFolder).filePath(beatName(pc));
    if (QDir().mkpath(QFileInfo(path).path()))
        SafeFile::write(path, now.toString(Qt::ISODate).toLatin1() + '\n');
}

void withdraw(Session &session)
{
    session.outbox().withdraw(nameFor(session.pcName()));
    const QDir folder(session.classFolder());
    QFile::remove(folder.filePath(nameFor(session.pcName())));
    QFile::remove(folder.filePath(beatName(session.pcName())));
}

QVector<Found> leftByOthers(Session &session, const QDateTime &now)
{
    QVector<Found> found;
    const QDir folder = folderOf(session);
    const QDir classFolder(session.classFolder());
    for (const QFileInfo &info : folder.entryInfoList({ QStringLiteral("*.json") }, QDir::Files)) {
        const QString pc = info.completeBaseName();
        if (!PcName::isWellFormed(pc) || pc == session.pcName())
            continue;
        const QFileInfo alive(classFolder.filePath(beatName(pc)));
        if (info.lastModified().secsTo(now) < staleAfterSeconds
            || (alive.exists() && alive.lastModified().secsTo(now) < staleAfterSeconds))
            continue;
        Found test;
        if (!readState(info.filePath(), &test.state))
            continue;
        const QString report = test.state.learner.reportName;
        if (!report.isEmpty() && QFileInfo::exists(classFolder.filePath(LearnerFileName::dataName(report))))
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
    const QString moved = folderOf(session).filePath(found.pc + movedMark + session.pcName() + QStringLiteral(".txt"));
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
    for (const QString &name : folder.entryList({ prefix + QStringLiteral("*.txt") }, QDir::Files)) {
        RecoveryState moved;
        if (readState(folder.filePath(name), &moved) && sameTest(moved, own)) {
            *pc = name.mid(prefix.size()).chopped(4);
            return true;
        }
    }
    return false;
}

} // namespace ClassRecovery
