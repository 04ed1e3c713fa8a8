#include "archive/safefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

Read readSmall(const QString &path, qint64 limit, QByteArray *bytes)
{
    bytes->clear();
    QFile file;
#ifdef Q_OS_UNIX
    // Checked on what was opened, not on the name: the name may be swapped in between.
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return errno == ELOOP ? Read::NotPlain : Read::Failed;
    struct stat opened;
    if (::fstat(handle, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(handle);
        return Read::NotPlain;
    }
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return Read::Failed;
    }
#else
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction() || (info.exists() && !info.isFile()))
        return Read::NotPlain;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return Read::Failed;
#endif
    if (file.size() > limit)
        return Read::TooLarge;
    QByteArray read;
    read.reserve(int(file.size()));
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = file.read(chunk, std::min<qint64>(sizeof chunk, limit + 1 - read.size()));
        if (got < 0)
            return Read::Failed;
        if (got == 0)
            break;
        read.append(chunk, int(got));
        if (read.size() > limit)
            return Read::TooLarge;
    }
    *bytes = read;
    return Read::Done;
}

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
