#pragma once

#include <QString>

// How this copy of the program names itself in the class folder: the machine's host name and
// a short id kept in the working folder, "LAB07-3f9a2c". Fifteen PCs differ by host name,
// fifteen copies on one machine by the id, and since the id is lower-case hex and the host
// name upper case, two names never differ only in case.
namespace PcName {

QString idFileName();

// The name kept in workingFolder, made and stored the first time. A folder that takes no
// file still gets a name for this run (the check at start tells the teacher about the folder).
QString ofThisCopy(const QString &workingFolder);

// What of a host name may stand in a file name: letters A-Z, digits and "-", upper case.
QString hostPart(const QString &hostName);

bool isWellFormed(const QString &name);

} // namespace PcName
