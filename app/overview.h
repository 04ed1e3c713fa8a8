#pragma once

#include "darkmargin.h"

#include <QFont>

class QLabel;
class QVBoxLayout;
class TimeLimiter;

// The progress panel on the left: the seven steps of the test with the current one marked,
// and the countdown of a running dictation at the bottom.
class Overview : public DarkMargin
{
public:
    explicit Overview(QWidget *parent);

    // Marks the next step; entering and leaving a dictation starts and stops its countdown.
    void nextStep();

    // After a crash: the running dictation's countdown goes on from the time worked.
    void resumeCountdown(qint64 workedMs);

    static constexpr int stepCount = 7;

private:
    static QString stepName(int index);

    int step = 0;
    QFont panelFont;
    QVBoxLayout *stepLayout;
    QLabel *stepLabels[stepCount];
    TimeLimiter *countdown;
};
