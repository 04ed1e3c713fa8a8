#include "dictate1.h"

#include "dictateword.h"
#include "learnerrecord.h"
#include "reportfile.h"
#include "reporttext.h"
#include "storytable.h"

Dictate1::Dictate1(QWidget *parent)
    : DictationPage(parent, dictation1Table())
{
}

void Dictate1::writeResults()
{
    const QString stamp = elapsedTimeStamp();
    int correct = 0;
    QStringList fragments;
    for (DictateWord *field : words())
        fragments.append(field->evaluate(correct));
    currentLearner().dictation1Right = correct;
    ReportFile::writeOrExit(this, ReportFile::Append, ReportText::dictation1Section(stamp, fragments, correct));
    dictationPassed = correct >= ReportText::dictation1PassMark;
}
