#pragma once

#include <QDate>
#include <QString>

// Where the results page may save its PDF, and under which name.
namespace PdfTarget {

// "Åse Ørnebæk 2026-12-08.pdf": the learner's name as in the learner's own report file, and
// the date; "Resultater 2026-12-08.pdf" without a name.
QString suggestedName(const QString &learnerName, const QDate &date);

// The path with ".pdf" at the end: without it the file does not open by double-click.
QString withPdfEnding(const QString &path);

// True for files the PDF must never replace: a report (results.html), the program itself
// and its recordings.
bool isProtected(const QString &path);

} // namespace PdfTarget
