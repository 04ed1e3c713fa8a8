#pragma once

#include <QString>

class QWidget;

// The report's file: its name, encoding and failure handling, shared by the three pages
// that write it. Each stage opens the file, writes its text and closes it again.
class ReportFile
{
public:
    enum Mode {
        Create, // empties an earlier report, or creates the file
        Append  // continues at the end of the file
    };

    static QString fileName();

    // Writes text as UTF-8 (no byte-order mark, LF line ends). True only when every byte
    // reached the file and it was closed without error; on failure the file is cut back
    // to the length it had, so a half-written stage never passes for a report.
    static bool write(const QString &path, Mode mode, const QString &text);

    // Writes a stage of the report in the results folder. When that fails, tells the
    // learner to fetch the teacher and ends the program with exit status 1.
    static void writeOrExit(QWidget *parent, Mode mode, const QString &text);
};
