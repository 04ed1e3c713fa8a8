#include "input/learnertextvalidator.h"

#include "input/learnertext.h"

LearnerTextValidator::LearnerTextValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State LearnerTextValidator::validate(QString &input, int &pos) const
{
    const QString cleaned = LearnerText::clean(input);
    if (cleaned != input) {
        // The cursor stays behind what it was behind.
        pos = qMin(LearnerText::clean(input.left(pos)).size(), cleaned.size());
        input = cleaned;
    }
    return Acceptable;
}
