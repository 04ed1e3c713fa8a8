#pragma once

#include <QString>

struct ResultRow;

// Reads an overview row back out of a report of the kind kept before each learner had a data
// file ("2026-12-07 14.23 Åse Ørnsø.html"), as a pure function: the start comes from the
// file name, everything else from what the report shows. False, with a Danish reason, for
// a file that is not such a report or whose numbers do not agree with each other.
namespace ReportScan {

bool parse(const QString &fileName, const QString &html, ResultRow *row, QString *reason);

} // namespace ReportScan
