#pragma once

#include "content/pagetexts.h"
#include "widgets/centerframe.h"

#include <QStringList>
#include <QVector>

class DarkButton;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;

// A page of guidance: a heading, a few paragraphs, the loudspeaker that reads them aloud
// and the green arrow that moves on. The welcome page and the two help pages are such pages.
class GuidePage : public CenterFrame
{
    Q_OBJECT

public:
    enum Playing { PlayOnRequest, PlayWhenShown };

    GuidePage(QWidget *parent, const PageTexts::GuideText &content, Playing playing);

signals:
    void nextPage();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotNextPage();
    void slotPlayVoice();

private:
    QVBoxLayout *mainLayout;
    QHBoxLayout *buttonRow;
    QLabel *headingLabel;
    QVector<QLabel *> textLabels;
    DarkButton *voiceButton;
    DarkButton *nextButton;
    QString soundFile;
    Playing playing;
};
