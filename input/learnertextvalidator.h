#pragma once

#include <QValidator>

// Keeps a field's text clean as the learner types or pastes (LearnerText::clean): nothing
// is refused, what cannot go into the report is simply left out, and an emoji cut in half
// by the field's length limit loses its dangling half.
class LearnerTextValidator : public QValidator
{
    Q_OBJECT

public:
    explicit LearnerTextValidator(QObject *parent);

    State validate(QString &input, int &pos) const override;
};
