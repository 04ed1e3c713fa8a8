#include "model/resultrow.h"

#include "model/learnerrecord.h"
#include "model/reporttext.h"

int ResultRow::dictation2Total() const
{
    if (!dictation2Taken())
        return -1;
    return dictation2Right[0] + dictation2Right[1] + dictation2Right[2];
}

int ResultRow::level() const
{
    if (!finished)
        return 0;
    return dictation2Taken() ? ReportText::level(dictation2Total()) : 1;
}

bool ResultRow::operator==(const ResultRow &other) const
{
    return started == other.started && pc == other.pc && place == other.place
            && name == other.name && birthYear == other.birthYear
            && dictation1Right == other.dictation1Right
            && dictation2Right == other.dictation2Right && finished == other.finished
            && reportName == other.reportName;
}

ResultRow ResultRow::fromRecord(const LearnerRecord &learner, const QString &pc)
{
    ResultRow row;
    row.started = learner.started;
    row.pc = pc;
    row.place = learner.details.value(ReportText::Place);
    row.name = learner.details.value(ReportText::Name);
    row.birthYear = learner.details.value(ReportText::BirthYear);
    row.dictation1Right = learner.dictation1Right;
    row.dictation2Right = learner.dictation2Right;
    row.finished = learner.finished;
    row.reportName = learner.reportName;
    return row;
}
