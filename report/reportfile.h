#pragma once

#include <QString>

class QWidget;

// The report's files: results.html in the results folder and the learner's own copy in
// resultater/. The program holds the report so far in memory (currentLearner()), and
// each stage writes all of it again, so a file that was deleted or altered between stages
// comes back whole.
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

    // Writes a stage of the report to results.html and to the learner's own file. When
    // that fails at the details page, tells the learner to fetch the teacher and ends the
    // program with exit status 1. At a hand-in (Append) the teacher may first try again
    // as often as needed: the answers stay on screen and in memory meanwhile.
    static void writeOrExit(QWidget *parent, Mode mode, const QString &text);

    // The learner's own file, with its folder, for messages and tests.
    static QString learnerFilePath();

private:
    static QString writeBoth(const QString &document);
    static bool offerRetry(QWidget *parent, const QString &failedFile);
    [[noreturn]] static void giveUp(QWidget *parent, const QString &failedFile);
};
