#pragma once

#include <QString>
#include <QStringList>

class WorkingFolder;

// What start-up makes sure of before a learner types anything: that every folder the
// program writes to takes files, and that no write cut off earlier left a file behind.
namespace FolderCheck {

// Writes a probe file into folder through the same code as every real write, then removes
// it; creates the folder when it is missing. False, with a Danish reason that names the
// folder and says why, when folder is a file, read-only or full.
bool probe(const QString &folder, QString *reason);

// The class folder, which every PC of the class writes to; the probe file is this PC's own.
// A missing folder is only made when mayCreate (the default "resultater"): one the school
// named that is missing is most likely a share not mounted, and results would gather unseen
// on the mount point. False, with a Danish reason, when it cannot be used now.
bool classFolderUsable(const QString &classFolder, bool mayCreate, const QString &pc, QString *reason);

// The working folder and resultater/ in it (when it exists), in that order; resultater/ as a
// link to another folder is refused, never followed.
bool writable(const WorkingFolder &folder, QString *reason);

// Removes the temporary files of the program's own files that a cut-off write left in the
// working folder, resultater/ and the outbox, when older than a minute. Returns their paths.
QStringList removeLeftovers(const WorkingFolder &folder);

// The same in the class folder, for this PC's files only: another PC may be writing its own.
QStringList removeClassLeftovers(const QString &classFolder, const QString &pc);

} // namespace FolderCheck
