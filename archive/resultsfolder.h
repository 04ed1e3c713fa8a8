#pragma once

#include <QString>

// The one folder that receives every file the program writes: the working directory
// unless the command line names another. Set once at start, before any page exists.
namespace ResultsFolder {

// Creates the folder when it is missing. False, with a Danish reason, when it cannot be
// made or is not a folder.
bool prepare(const QString &path, QString *reason);

void set(const QString &path);

// The folder, absolute; the working directory when none was set.
QString path();

// A file in the folder.
QString filePath(const QString &name);

} // namespace ResultsFolder
