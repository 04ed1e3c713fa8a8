#pragma once

#include <QFont>
#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;
class QVBoxLayout;

// The countdown of a running dictation: minutes left above a bar that empties minute by
// minute. When the time is up it says so with timeOut(), and the main window locks the page.
class TimeLimiter : public QWidget
{
    Q_OBJECT

public:
    explicit TimeLimiter(QWidget *parent);
    ~TimeLimiter() override;

    // Starts the countdown; after a crash with the time already worked, so the first tick
    // comes when the minute that was running ends.
    void startCountdown(int minutes, int dictation, qint64 workedMs = 0);
    void stopCountdown();

    // The dictation counted down, 1 or 2.
    int runningDictation() const { return dictation; }

    // What the timer does at the end of each minute. Tests call it to let the minutes pass.
    void advanceMinute() { slotShowMinutsLeft(); }

signals:
    void timeOut();

private slots:
    void slotShowMinutsLeft();

private:
    int minutesLeft = 0;
    int dictation = 1;
    QTimer *timer;
    QFont countdownFont;
    QVBoxLayout *countdownLayout;
    QLabel *minutesLabel;
    QProgressBar *progressBar;
};
