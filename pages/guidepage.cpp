#include "pages/guidepage.h"

#include "widgets/darkbutton.h"
#include "widgets/voiceplayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

GuidePage::GuidePage(QWidget *parent, const PageTexts::GuideText &content, Playing playing)
    : CenterFrame(parent)
    , soundFile(content.soundFile)
    , playing(playing)
{
    mainLayout = new QVBoxLayout;
    buttonRow = new QHBoxLayout;

    headingLabel = new QLabel(content.heading);
    headingLabel->setFont(headingFont);
    for (const QString &paragraph : content.paragraphs)
        textLabels.append(new QLabel(paragraph));

    voiceButton = new DarkButton(this, QStringLiteral("voice.png"));
    voiceButton->setObjectName(QStringLiteral("voiceButton"));
    nextButton = new DarkButton(this, QStringLiteral("next.png"));
    nextButton->setObjectName(QStringLiteral("nextButton"));

    buttonRow->addWidget(voiceButton);
    buttonRow->addStretch();
    buttonRow->addWidget(nextButton);

    mainLayout->addSpacing(20);
    mainLayout->addWidget(headingLabel);
    mainLayout->addSpacing(20);
    for (int i = 0; i < textLabels.size(); ++i) {
        if (i > 0)
            mainLayout->addSpacing(10);
        mainLayout->addWidget(textLabels[i]);
    }
    mainLayout->addLayout(buttonRow);
    mainLayout->addStretch();
    setLayout(mainLayout);

    connect(voiceButton, &DarkButton::clicked, this, &GuidePage::slotPlayVoice);
    connect(nextButton, &DarkButton::clicked, this, &GuidePage::slotNextPage);
}

void GuidePage::showEvent(QShowEvent *event)
{
    // Every guidance page starts on its loudspeaker: first in reading order, and an Enter
    // carried over from the page before only reads the text again instead of skipping it.
    if (!event->spontaneous())
        voiceButton->setFocus(Qt::OtherFocusReason);
    if (playing == PlayWhenShown)
        voicePlayer->play(soundFile);
    CenterFrame::showEvent(event);
}

void GuidePage::slotNextPage()
{
    voicePlayer->stop();
    emit nextPage();
}

void GuidePage::slotPlayVoice()
{
    voicePlayer->play(soundFile);
}
