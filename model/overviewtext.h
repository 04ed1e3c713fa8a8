#pragma once

#include "model/resultrow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct LearnerRecord;

// The class overview's text, as pure functions: CSV with semicolons and CRLF line ends,
// fields quoted by the usual rules, as Danish spreadsheets open it.
namespace OverviewText {

QString headerLine();

// One learner's row. A learner who never reached the results page gets "Ikke afsluttet"
// in place of the level.
QString row(const LearnerRecord &learner);
QString row(const ResultRow &result);

// The whole file as oversigt.csv holds it: a byte order mark, so Excel reads UTF-8, the
// header, and one line per row in the order given.
QByteArray document(const QVector<ResultRow> &rows);

// One field, quoted when it holds a semicolon, a quote, a line break or blanks at an end.
// A leading = + - @ is kept from being read as a formula by a spreadsheet.
QString field(const QString &value);

QString line(const QStringList &fields);

} // namespace OverviewText
