#include "archive/instancelock.h"

#include "archive/resultsfolder.h"

#include <QCoreApplication>
#include <QDir>

InstanceLock::InstanceLock(const ResultsFolder &folder)
    : lockFile(folder.filePath(QStringLiteral("skrivlo.lock")))
{
    // Only a dead owner makes the lock stale: a test may run for an hour.
    lockFile.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::acquire()
{
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
