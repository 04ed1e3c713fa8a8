#include "archive/workingfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool WorkingFolder::prepare(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        *reason = QCoreApplication::translate("WorkingFolder", "»%1« er en fil, ikke en mappe.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!info.exists() && !QDir().mkpath(path)) {
        *reason = QCoreApplication::translate("WorkingFolder", "Mappen »%1« kan ikke oprettes.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

WorkingFolder::WorkingFolder(const QString &path)
    : folder(path.isEmpty() ? QDir::currentPath() : QDir::cleanPath(QDir::current().absoluteFilePath(path)))
{
}

QString WorkingFolder::filePath(const QString &name) const
{
    return QDir(folder).filePath(name);
}
