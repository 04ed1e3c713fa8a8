#include "testwindow/overview.h"

#include "content/storytable.h"
#include "testwindow/timelimiter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString markedForm(const QString &name)
{
    return QStringLiteral("<html>▶ <b>") + name + QStringLiteral("</b></html>");
}

QString futureForm(const QString &name)
{
    return QStringLiteral("<html><font color=\"gray\">") + name + QStringLiteral("</font></html>");
}

} // namespace

Overview::Overview(QWidget *parent)
    : DarkMargin(parent)
{
    panelFont = font();
    panelFont.setPointSize(10);
    setFont(panelFont);

    for (int i = 0; i < stepCount; ++i) {
        const QString name = stepName(TestStep(i));
        stepLabels[i] = new QLabel(TestStep(i) == step ? markedForm(name) : futureForm(name));
        stepLabels[i]->setObjectName(QStringLiteral("step%1").arg(i));
    }
    timeLimiter = new TimeLimiter(this);
    timeLimiter->setObjectName(QStringLiteral("countdown"));

    stepLayout = new QVBoxLayout;
    for (QLabel *label : stepLabels)
        stepLayout->addWidget(label);
    stepLayout->addStretch();
    stepLayout->addWidget(timeLimiter);
    setLayout(stepLayout);
}

QString Overview::stepName(TestStep step)
{
    static const char *const names[stepCount] = {
        QT_TRANSLATE_NOOP("Overview", "Velkommen"),
        QT_TRANSLATE_NOOP("Overview", "Oplysninger om dig selv"),
        QT_TRANSLATE_NOOP("Overview", "Hjælp til Diktat 1"),
        QT_TRANSLATE_NOOP("Overview", "Diktat 1"),
        QT_TRANSLATE_NOOP("Overview", "Hjælp til Diktat 2"),
        QT_TRANSLATE_NOOP("Overview", "Diktat 2"),
        QT_TRANSLATE_NOOP("Overview", "Resultater"),
    };
    return QCoreApplication::translate("Overview", names[int(step)]);
}

void Overview::nextStep()
{
    if (step == TestStep::Results)
        return;

    // The countdown runs exactly while a dictation page is marked.
    const TestStep next = stepAfter(step);
    if (dictationAt(step) != 0)
        timeLimiter->stopCountdown();
    if (next == TestStep::Dictation1)
        timeLimiter->startCountdown(dictation1Table().minutes, 1);
    else if (next == TestStep::Dictation2)
        timeLimiter->startCountdown(dictation2Table().minutes, 2);

    stepLabels[int(step)]->setText(stepName(step));
    stepLabels[int(next)]->setText(markedForm(stepName(next)));
    step = next;
}

void Overview::resumeCountdown(qint64 workedMs)
{
    if (step == TestStep::Dictation1)
        timeLimiter->startCountdown(dictation1Table().minutes, 1, workedMs);
    else if (step == TestStep::Dictation2)
        timeLimiter->startCountdown(dictation2Table().minutes, 2, workedMs);
}
