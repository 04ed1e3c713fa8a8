#pragma once

#include "centerframe.h"

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
    // The heading and the paragraphs as the page shows them, and the recording that reads them.
    struct Content
    {
        QString heading;
        QStringList paragraphs;
        QString soundFile;
    };
    enum Playing { PlayOnRequest, PlayWhenShown };

    GuidePage(QWidget *parent, const Content &content, Playing playing);

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
