#include "archive/safefile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace SafeFile {

namespace {

// The rename is only as lasting as the folder entry that records it.
void syncFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#else
    Q_UNUSED(path); // Windows cannot open a folder for syncing; its rename is journalled
#endif
}

} // namespace

bool mayReplace(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction())
        return false;
    return !info.exists() || info.isFile();
}

bool mayWriteInto(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || info.isJunction())
        return false;
    return !info.exists() || info.isDir();
}

bool write(const QString &path, const QByteArray &bytes)
{
    if (!mayReplace(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // An explicit flush: an error in the flush that commit() does while closing goes
    // unnoticed here (Qt 6.4), and a cut-off file would replace the whole one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    // commit() syncs the new file to the disk before it renames it over the old one.
    if (!file.commit())
        return false;
    syncFolder(path);
    return true;
}

bool isLeftover(const QString &fileName, QString *finalName)
{
    // QSaveFile writes "<name>.XXXXXX" beside the file and renames it when done.
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return false;
    *finalName = match.captured(1);
    return true;
}

QStringList removeLeftovers(const QString &folder, const std::function<bool(const QString &)> &ours, qint64 olderThanMs)
{
    QStringList removed;
    const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-olderThanMs);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        QString finalName;
        if (file.isSymLink() || !file.isFile() || !isLeftover(file.fileName(), &finalName) || !ours(finalName))
            continue;
        // A younger one may be a write in progress by another PC in a shared folder.
        if (file.lastModified().toUTC() > before)
            continue;
        if (QFile::remove(file.absoluteFilePath()))
            removed.append(file.fileName());
    }
    return removed;
}

} // namespace SafeFile
