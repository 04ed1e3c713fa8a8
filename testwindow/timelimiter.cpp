#include "testwindow/timelimiter.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QVBoxLayout>

TimeLimiter::TimeLimiter(QWidget *parent)
    : QWidget(parent)
{
    timer = new QTimer(this);
    countdownFont = font();
    countdownFont.setPointSize(8);
    setFont(countdownFont);

    minutesLabel = new QLabel;
    minutesLabel->setObjectName(QStringLiteral("minutesLabel"));
    progressBar = new QProgressBar;
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setMaximumHeight(12);
    progressBar->setTextVisible(false);

    countdownLayout = new QVBoxLayout;
    countdownLayout->addWidget(minutesLabel);
    countdownLayout->addWidget(progressBar);
    setLayout(countdownLayout);
    setVisible(false);

    connect(timer, &QTimer::timeout, this, &TimeLimiter::slotShowMinutsLeft);
}

TimeLimiter::~TimeLimiter()
{
    delete timer;
}

void TimeLimiter::startCountdown(int minutes, int dictation, qint64 workedMs)
{
    constexpr qint64 minute = 60000;
    this->dictation = dictation;
    minutesLeft = int(qMax<qint64>(0, minutes - workedMs / minute));
    progressBar->setRange(0, minutes);
    timer->stop();
    slotShowMinutsLeft();
    setVisible(true);
    if (minutesLeft == 0 && workedMs >= minutes * minute)
        return; // the time ran out before the crash: the page is locked already
    timer->setInterval(int(minute - workedMs % minute));
    timer->start();
}

void TimeLimiter::stopCountdown()
{
    timer->stop();
    setVisible(false);
}

void TimeLimiter::slotShowMinutsLeft()
{
    if (minutesLeft >= 2)
        minutesLabel->setText(tr("Du har %1 minutter tilbage").arg(minutesLeft));
    else if (minutesLeft == 1)
        minutesLabel->setText(tr("<html>Du har <b>kun</b> %1 minut tilbage</html>").arg(minutesLeft));
    else
        minutesLabel->setText(tr("Tiden er udløbet!"));
    progressBar->setValue(minutesLeft);
    // A screen reader hears the new text as a name change, without markup.
    minutesLabel->setAccessibleName(QTextDocumentFragment::fromHtml(minutesLabel->text()).toPlainText());
    progressBar->setAccessibleName(minutesLabel->accessibleName());
    QAccessibleEvent announcement(minutesLabel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&announcement);

    if (minutesLeft > 0) {
        --minutesLeft;
        timer->setInterval(60000);
        return;
    }
    timer->stop();
    emit timeOut();
}
