#include "resultsfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString &chosenFolder()
{
    static QString folder;
    return folder;
}

} // namespace

namespace ResultsFolder {

bool prepare(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        *reason = QCoreApplication::translate("ResultsFolder", "\"%1\" er en fil, ikke en mappe.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!info.exists() && !QDir().mkpath(path)) {
        *reason = QCoreApplication::translate("ResultsFolder", "Mappen \"%1\" kan ikke oprettes.")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

void set(const QString &path)
{
    chosenFolder() = QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString path()
{
    return chosenFolder().isEmpty() ? QDir::currentPath() : chosenFolder();
}

QString filePath(const QString &name)
{
    return QDir(path()).filePath(name);
}

} // namespace ResultsFolder
