#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The text of the report, stage by stage, as pure functions of what the pages hold.
// Texts typed by the learner are HTML-escaped here; fixed texts go in as they stand.
namespace ReportText {

// The details form in page order: date, place of teaching, name, address, year of birth,
// years at primary school, upper-secondary exam, education, job.
constexpr int detailCount = 9;
// The places in that order that the overview and the teacher's view take out.
enum Detail { Place = 1, Name = 2, BirthYear = 4 };

// A detail's label as the report writes it before the value: "Navn: ".
QString detailLabel(int index);

// Stage 1: document head and the learner's details.
QString header(const QStringList &details);

// Stage 2: the Dictation 1 section. Closes the document with "Trin 1" below the pass mark.
QString dictation1Section(const QString &timeStamp, const QStringList &fragments, int correct);
constexpr int dictation1PassMark = 18;

// Stage 3: the Dictation 2 table (rows of three cells), totals, level and the end of the document.
using CategoryRow = std::array<QString, 3>;
QString dictation2Section(const QString &timeStamp, const QVector<CategoryRow> &rows,
                          const std::array<int, 3> &columnCounts);

// A report that the teacher chose not to continue: what was written so far, closed with
// a note that the test was not finished.
QString unfinished(const QString &documentSoFar);

// True when html holds only the markup these functions write (any text between, escaped as
// they escape it), with one table at most: a report read back that holds anything else, a
// picture, a link, a style or tables in tables, was not written by the program, and Qt's
// layout of such markup can take minutes or the whole stack.
bool isOwnMarkup(const QString &html);

// Level 1 to 4 from the number of right answers in Dictation 2.
int level(int dictation2Total);

// "mm:ss" of the time worked, from a monotonic clock; whole hours are dropped.
QString timeStamp(qint64 elapsedSeconds);

// The date field's text: day/month-year without leading zeros.
QString dateText(const QDate &date);

} // namespace ReportText
