#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Whole-file writes that a power cut or a full disk cannot leave half done: the new
// contents replace the old in one step, or the old file stays as it was.
namespace SafeFile {

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
