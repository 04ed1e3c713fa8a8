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
// The same, with the folders given by their real place already (resolveAll): they are not
// looked at again, so a folder on a share that hangs cannot hold up the caller.
bool isInsideResolved(const QString &path, const QStringList &resolvedFolders);
// Each folder's real place, links and ".." resolved; empty for one that does not exist. Run it
// where waiting is allowed (a worker), for a folder that may be on a share.
QStringList resolveAll(const QStringList &folders);

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

// The same check for the teacher's view, where a PDF may go anywhere the teacher chooses (a
// USB stick too) except into the closed folders, which hold only the program's own files.
// An existing PDF is replaced after a question; any other file never.
// closedFolders by their real place (resolveAll): they are not looked at here.
Verdict checkOutside(const QString &chosen, const QStringList &closedFolders, QString *reason);

// Why a file may not be saved in the class folder, in Danish.
QString classFolderClosed();

} // namespace PdfTarget
