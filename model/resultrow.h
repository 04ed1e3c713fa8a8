#pragma once

#include <QDateTime>
#include <QString>

#include <array>

struct LearnerRecord;

// One learner's line of the class overview: what the per-learner data file in the class
// folder keeps, what the overview is made from and what the teacher's view lists.
struct ResultRow
{
    QDateTime started;          // local time, to the second
    QString pc;                 // the PC that wrote it
    QString place;
    QString name;
    QString birthYear;
    int dictation1Right = -1;   // -1 until handed in
    std::array<int, 3> dictation2Right { -1, -1, -1 };  // K, E, M; -1 when not taken
    bool finished = false;      // the results page was reached
    QString reportName;         // the report's file name in the class folder

    bool dictation2Taken() const { return dictation2Right[0] >= 0; }
    int dictation2Total() const;  // -1 when not taken
    int level() const;            // 1 to 4, or 0 for a test that was not finished

    bool operator==(const ResultRow &other) const;

    static ResultRow fromRecord(const LearnerRecord &learner, const QString &pc);
};
