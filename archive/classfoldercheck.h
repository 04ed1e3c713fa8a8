#pragma once

#include <QString>

// Whether the class folder takes files now, checked at start with a small file of this PC's
// own that is written, read back and removed. A folder named by the school that is missing
// is never made: an unmounted share would leave its mount point as an empty local folder,
// and results would gather there unseen. Only the default "resultater" is made.
namespace ClassFolderCheck {

// False, with a Danish reason (what is wrong, in a teacher's words), when it cannot be used.
bool usable(const QString &classFolder, bool mayCreate, const QString &pc, QString *reason);

} // namespace ClassFolderCheck
