#pragma once

#include <QString>

class ResultsFolder;

// The class overview resultater/oversigt.csv: one row per learner, appended under a lock
// so that two copies of the program never interleave or lose a row.
namespace OverviewFile {

QString fileName();
QString path(const ResultsFolder &folder);

// Adds the row (with the byte-order mark and the header line to a new file). The whole
// file is replaced atomically. False, with a Danish reason, on failure.
// Another copy's lock is waited for up to lockWaitMs.
bool append(const ResultsFolder &folder, const QString &row, QString *reason, int lockWaitMs = 10000);

} // namespace OverviewFile
