#pragma once

#include <QString>

class Session;

// The report's files: results.html in the working folder and the learner's own copy in the
// class folder, sent there through the outbox. The session holds the report so far in memory, and each stage writes all of
// it again, so a file that was deleted or altered between stages comes back whole.
class ReportFile
{
public:
    enum Mode {
        Create, // starts a new report for a new learner
        Append  // continues the report held in memory
    };

    static QString fileName();

    // Writes text as UTF-8 (no byte-order mark, LF line ends) in place of the whole file,
    // atomically. False, with the file as it was, when not every byte reached it, or when
    // the path is a link or anything but a plain file (which is never followed).
    static bool write(const QString &path, const QString &text);

    // The report at path, as HTML. False when it is missing, not a plain file, or far larger
    // than any report of the program's own (it is not read then).
    static bool read(const QString &path, QString *html);

    // Writes a stage of the report to results.html and the learner's own file to the outbox,
    // and has the outbox sent (Session::onShare). Returns the file in the working folder that could not be
    // written, or an empty string; a class folder out of reach is no failure here (the file
    // waits in the outbox). The session's report grows only when both files have it, so the
    // same stage may be written again after a failure.
    static QString writeStage(Session &session, Mode mode, const QString &text);

    // A new learner's report name in the class folder: "<pc> <random id>.html", sealed there.
    static QString newReportName(const Session &session);

    // The learner's own file in the class folder, for messages and tests.
    static QString learnerFilePath(const Session &session);
};
