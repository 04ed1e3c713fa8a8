#pragma once

#include "content/teststep.h"
#include "widgets/darkmargin.h"

#include <QFont>

class QLabel;
class QVBoxLayout;
class TimeLimiter;

// The progress panel on the left: the seven steps of the test with the current one marked,
// and the countdown of a running dictation at the bottom.
class Overview : public DarkMargin
{
    Q_OBJECT

public:
    explicit Overview(QWidget *parent);

    // Marks the next step; entering and leaving a dictation starts and stops its countdown.
    void nextStep();
    TestStep currentStep() const { return step; }

    // The countdown of the dictation on screen; it says when the time is up.
    TimeLimiter *countdown() const { return timeLimiter; }

    // After a crash: the running dictation's countdown goes on from the time worked.
    void resumeCountdown(qint64 workedMs);

    static constexpr int stepCount = testStepCount;

private:
    static QString stepName(TestStep step);

    TestStep step = TestStep::Welcome;
    QFont panelFont;
    QVBoxLayout *stepLayout;
    QLabel *stepLabels[stepCount];
    TimeLimiter *timeLimiter;
};
