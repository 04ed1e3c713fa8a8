#pragma once

#include <QByteArray>
#include <QString>

// Saving a take where the program looks for the teacher's recordings: whole or not at all,
// so a recording already there is never left half overwritten.
namespace TakeFile {

// Writes bytes as folder/fileName, creating the folder; on failure says why, in Danish.
bool save(const QString &folder, const QString &fileName, const QByteArray &bytes, QString *error);

} // namespace TakeFile
