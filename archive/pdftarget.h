#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

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

// True when path lies in one of the folders or a folder below one, by where it really leads:
// a link out of them does not count.
bool isInside(const QString &path, const QStringList &allowedFolders);

enum class Verdict {
    Write,         // a new file in an allowed folder
    AskToReplace,  // a PDF this run saved before: replaced after a question
    Refuse         // reason says why, in Danish
};

// The one check before a PDF is written, from the save dialog or the print dialog's file
// output: only new PDFs, or this run's own (ownPdfs), inside the allowed folders. chosen is
// the name as given, target the same with ".pdf" at the end.
// Nothing goes into sealedFolders (the class folder), not even where it lies in an allowed one.
Verdict check(const QString &chosen, const QStringList &allowedFolders, const QStringList &ownPdfs, QString *reason,
              const QStringList &sealedFolders = {});

} // namespace PdfTarget
