#include "dictation/dictate1.h"

#include "archive/session.h"
#include "content/storytable.h"
#include "model/handin.h"
#include "model/reporttext.h"
#include "widgets/reportstage.h"

Dictate1::Dictate1(QWidget *parent, Session &session)
    : DictationPage(parent, dictation1Table(), session)
{
}

bool Dictate1::writeResults()
{
    const QString stamp = elapsedTimeStamp();
    int correct = 0;
    const QString section = HandIn::dictation1(answers(), stamp, &correct);
    session.learner().dictation1Right = correct;
    dictationPassed = correct >= ReportText::dictation1PassMark;
    return ReportStage::write(this, session, ReportFile::Append, section, TestStep::Dictation1, workedMs());
}
