#include "widgets/answersnapshot.h"

#include <QLineEdit>

namespace AnswerSnapshot {

RecoveryState take(const QWidget *window, const LearnerRecord &learner, TestStep step, qint64 workedMs)
{
    RecoveryState state;
    state.learner = learner;
    state.step = step;
    state.workedMs = dictationAt(step) ? workedMs : 0;
    if (!window)
        return state;
    for (const QLineEdit *field : window->findChildren<QLineEdit *>()) {
        if (RecoveryText::isAnswerField(field->objectName()))
            state.fields.insert(field->objectName(), field->text());
    }
    return state;
}

} // namespace AnswerSnapshot
