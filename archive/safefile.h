#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Whole-file writes that a power cut or a full disk cannot leave half done: the new
// contents replace the old in one step, or the old file stays as it was. And reads of files
// that someone else may have put there, which never take more than a limit.
namespace SafeFile {

enum class Read {
    Done,
    TooLarge, // larger than the limit: nothing of it is read
    NotPlain, // a link, a folder, a pipe or a device
    Failed,   // missing, or cannot be read
};

// The whole of a plain file of at most limit bytes. A link is never followed, and a pipe or
// a device never waited on, even one put in the file's place after it was listed; a file
// that grows while it is read is too large, not read into memory.
Read readSmall(const QString &path, qint64 limit, QByteArray *bytes);

// False for a symbolic link, a folder, a device or anything else that is not a plain file:
// a planted link must never lead a write to another file.
bool mayReplace(const QString &path);

// False for a link or anything else that is not a folder: files are never written through
// a planted link to another folder.
bool mayWriteInto(const QString &folder);

// Writes bytes to path atomically and synced to the disk, the folder entry too where the
// platform allows. False, with the file as before, on any failure.
bool write(const QString &path, const QByteArray &bytes);

// True for the name of a temporary file that a write left when it was cut off; finalName is
// the file it was to become.
bool isLeftover(const QString &fileName, QString *finalName);

// Removes such files in folder (not below it), when ours(finalName) and older than
// olderThanMs. Returns the names removed.
QStringList removeLeftovers(const QString &folder, const std::function<bool(const QString &)> &ours,
                            qint64 olderThanMs = 60000);

} // namespace SafeFile
