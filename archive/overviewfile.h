#pragma once

#include "model/resultrow.h"

#include <QString>
#include <QVector>

// The class overview oversigt.csv in the class folder, made from the learners' data files
// (<stem>.json) and rewritten whole after each finish. No copy ever appends to it or locks
// it: when two copies rewrite it at once, or a rewrite fails (the file open in Excel, the
// share gone), the data files still hold every row, and the next rewrite puts it right.
namespace OverviewFile {

QString fileName();
QString path(const QString &classFolder);

// Every readable data file of the class folder, sorted by start time (then PC and name).
// Damaged, foreign and newer-version files are left alone and counted in skipped.
QVector<ResultRow> rows(const QString &classFolder, int *skipped = nullptr);

// Rebuilds oversigt.csv from the data files. An overview that a teacher changed by hand
// (a row that no data file gives, whose report is still there) is first kept beside it as
// "oversigt rettet i hånden <nnnnnnnn>.csv". False, with a Danish reason, when it cannot be
// written; nothing is lost then.
bool rewrite(const QString &classFolder, QString *reason);

} // namespace OverviewFile
