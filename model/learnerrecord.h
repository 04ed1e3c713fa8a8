#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

// What the program holds about the learner at the PC. Every file it writes for that learner
// (the report, the learner's own copy, the overview row, the recovery file) is made from
// this, never read back from disk.
struct LearnerRecord
{
    QDateTime started;          // wall clock, for the file name and the overview only
    QStringList details;        // the nine form values, once the form is left
    QString reportName;         // the learner's own file in resultater/, fixed by the first stage
    QString document;           // the report so far, as results.html must hold it
    int dictation1Right = -1;   // -1 until handed in
    std::array<int, 3> dictation2Right { -1, -1, -1 };
    bool finished = false;      // the results page was reached

    bool dictation2Taken() const { return dictation2Right[0] >= 0; }
};
