#include "recordings/recordingfolders.h"

#include "recordings/recordingcheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString soundsPrefix = QStringLiteral("sounds/");
const QString teacherSubfolder = QStringLiteral("optagelser");

} // namespace

namespace RecordingFolders {

QStringList searchPath()
{
    QStringList folders { QDir::current().absoluteFilePath(QStringLiteral("sounds")) };
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders.append(QDir(data).filePath(teacherSubfolder));
    const QDir programDir(QCoreApplication::applicationDirPath());
    folders.append(programDir.filePath(QStringLiteral("sounds")));
    folders.append(QDir::cleanPath(programDir.filePath(QStringLiteral("../share/skrivlo/sounds"))));
    folders.removeDuplicates();
    return folders;
}

QString teacherFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(teacherSubfolder);
}

QString resolve(const QString &soundPath)
{
    if (!soundPath.startsWith(soundsPrefix))
        return soundPath;
    const QString name = soundPath.mid(soundsPrefix.size());
    // A broken file (a cut-off copy, a recording in a format that does not play) gives way
    // to a good one further on; when all are broken the first is used, for the check to name.
    QString firstFound;
    for (const QString &folder : searchPath()) {
        const QString candidate = QDir(folder).filePath(name);
        if (!QFileInfo(candidate).isFile())
            continue;
        if (RecordingCheck::read(candidate, false).error.isEmpty())
            return candidate;
        if (firstFound.isEmpty())
            firstFound = candidate;
    }
    return firstFound.isEmpty() ? QDir::current().absoluteFilePath(soundPath) : firstFound;
}

} // namespace RecordingFolders
