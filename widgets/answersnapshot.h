#pragma once

#include "content/teststep.h"
#include "model/recoverytext.h"

class QWidget;

// The learner's answers as the saved test keeps them, taken from the window they are typed in:
// what the autosave writes while the learner works, and what a hand-in that cannot write the
// report saves at once.
namespace AnswerSnapshot {

// Every answer field in window (the form's and the dictations' words, never a password typed
// into a box over it), with the learner's record, the step on screen and the time worked on it.
RecoveryState take(const QWidget *window, const LearnerRecord &learner, TestStep step, qint64 workedMs);

} // namespace AnswerSnapshot
