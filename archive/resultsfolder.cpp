#include "archive/resultsfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool ResultsFolder::prepare(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        *reason = QCoreApplication::translate("ResultsFolder", "»%1« er en fil, ikke en mappe.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!info.exists() && !QDir().mkpath(path)) {
        *reason = QCoreApplication::translate("ResultsFolder", "Mappen »%1« kan ikke oprettes.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

ResultsFolder::ResultsFolder(const QString &path)
    : folder(path.isEmpty() ? QDir::currentPath() : QDir::cleanPath(QDir::current().absoluteFilePath(path)))
{
}

QString ResultsFolder::filePath(const QString &name) const
{
    return QDir(folder).filePath(name);
}
