#include "dictation/dictate2.h"

#include "archive/session.h"
#include "content/storytable.h"
#include "model/handin.h"
#include "model/reporttext.h"
#include "widgets/reportstage.h"

Dictate2::Dictate2(QWidget *parent, Session &session)
    : DictationPage(parent, dictation2Table(), session)
{
}

bool Dictate2::writeResults()
{
    const QString stamp = elapsedTimeStamp();
    std::array<int, 3> counts { 0, 0, 0 };
    const QString section = HandIn::dictation2(answers(), stamp, &counts);
    session.learner().dictation2Right = counts;
    return ReportStage::write(this, session, ReportFile::Append, section, TestStep::Dictation2, workedMs());
}
