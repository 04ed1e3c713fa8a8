#pragma once

#include <QString>
#include <QStringList>

class ResultsFolder;

// What start-up makes sure of before a learner types anything: that every folder the
// program writes to takes files, and that no write cut off earlier left a file behind.
namespace FolderCheck {

// Writes a probe file into folder through the same code as every real write, then removes
// it; creates the folder when it is missing. False, with a Danish reason that names the
// folder and says why, when folder is a file, read-only or full.
bool probe(const QString &folder, QString *reason);

// The results folder and resultater/ in it (when it exists), in that order; resultater/ as a
// link to another folder is refused, never followed.
bool writable(const ResultsFolder &folder, QString *reason);

// Removes the temporary files of the program's own files that a cut-off write left in the
// results folder and resultater/, when older than a minute. Returns their paths.
QStringList removeLeftovers(const ResultsFolder &folder);

} // namespace FolderCheck
