#include "overview.h"

#include "storytable.h"
#include "timelimiter.h"

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
        stepLabels[i] = new QLabel(i == 0 ? markedForm(stepName(i)) : futureForm(stepName(i)));
        stepLabels[i]->setObjectName(QStringLiteral("step%1").arg(i));
    }
    countdown = new TimeLimiter(this);
    countdown->setObjectName(QStringLiteral("countdown"));

    stepLayout = new QVBoxLayout;
    for (QLabel *label : stepLabels)
        stepLayout->addWidget(label);
    stepLayout->addStretch();
    stepLayout->addWidget(countdown);
    setLayout(stepLayout);
}

QString Overview::stepName(int index)
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
    return QCoreApplication::translate("Overview", names[index]);
}

void Overview::nextStep()
{
    if (step + 1 >= stepCount)
        return;

    // The countdown runs exactly while a dictation page (steps 3 and 5) is marked.
    if (step == 2)
        countdown->startCountdown(dictation1Table().minutes, 1);
    else if (step == 4)
        countdown->startCountdown(dictation2Table().minutes, 2);
    else if (step == 3 || step == 5)
        countdown->stopCountdown();

    stepLabels[step]->setText(stepName(step));
    stepLabels[step + 1]->setText(markedForm(stepName(step + 1)));
    ++step;
}

void Overview::resumeCountdown(qint64 workedMs)
{
    if (step == 3)
        countdown->startCountdown(dictation1Table().minutes, 1, workedMs);
    else if (step == 5)
        countdown->startCountdown(dictation2Table().minutes, 2, workedMs);
}
