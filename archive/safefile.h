#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that a power cut or a full disk cannot leave half done: the new
// contents replace the old in one step, or the old file stays as it was.
namespace SafeFile {

// False for a symbolic link, a folder, a device or anything else that is not a plain file:
// a planted link must never lead a write to another file.
bool mayReplace(const QString &path);

// Writes bytes to path atomically. False, with the file as before, on any failure.
bool write(const QString &path, const QByteArray &bytes);

} // namespace SafeFile
