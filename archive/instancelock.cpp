#include "archive/instancelock.h"

#include "archive/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

InstanceLock::InstanceLock(const WorkingFolder &folder)
    : path(folder.filePath(QStringLiteral("skrivlo.lock")))
    , lockFile(path)
{
    // Only a dead owner makes the lock stale: a test may run for an hour.
    lockFile.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::acquire()
{
    // QLockFile would follow a link, or read a folder as a lock held by someone else.
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction() || (info.exists() && !info.isFile()))
        return NotALockFile;
    if (lockFile.tryLock(0))
        return Locked;
    return lockFile.error() == QLockFile::LockFailedError ? HeldByOther : NotPossible;
}

QString InstanceLock::heldMessage(const QString &folder)
{
    return QCoreApplication::translate("InstanceLock",
                                       "Skrivlo kører allerede med arbejdsmappen\n»%1«.\n\n"
                                       "Der kan kun køre ét Skrivlo ad gangen i samme mappe, ellers "
                                       "blandes resultaterne sammen.\nLuk det andet Skrivlo først, "
                                       "eller vælg en anden arbejdsmappe.")
            .arg(QDir::toNativeSeparators(folder));
}

QString InstanceLock::refusal(Outcome outcome) const
{
    if (outcome == HeldByOther)
        return heldMessage(QFileInfo(path).path());
    return outcome == NotALockFile ? notALockFileMessage() : QString();
}

QString InstanceLock::notALockFileMessage() const
{
    const QFileInfo info(path);
    QString what;
    if (info.isSymLink() || info.isJunction())
        what = QCoreApplication::translate("InstanceLock", "en genvej (et link) til »%1«")
                       .arg(QDir::toNativeSeparators(info.symLinkTarget()));
    else if (info.isDir())
        what = QCoreApplication::translate("InstanceLock", "en mappe");
    else
        what = QCoreApplication::translate("InstanceLock", "ikke en almindelig fil");
    return QCoreApplication::translate("InstanceLock",
                                       "»%1« er %2, ikke Skrivlos egen låsefil.\n\n"
                                       "Skrivlo bruger ikke en låsefil, som nogen har lagt der. "
                                       "Slet »%3«, og start Skrivlo igen.")
            .arg(QDir::toNativeSeparators(path), what, info.fileName());
}
