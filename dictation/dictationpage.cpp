#include "dictation/dictationpage.h"

#include "content/storytable.h"
#include "dictation/dictateword.h"
#include "model/recoverytext.h"
#include "model/reporttext.h"
#include "widgets/darkbutton.h"
#include "widgets/voiceplayer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

DictationPage::DictationPage(QWidget *parent, const DictationTable &table, Session &session)
    : CenterFrame(parent)
    , table(table)
    , session(session)
{
    mainLayout = new QVBoxLayout;
    buttonRow = new QHBoxLayout;

    titleLabel = new QLabel(tr("<html><b>Diktat %1</b><br>").arg(table.number));
    titleLabel->setFont(headingFont);
    timeLabel = new QLabel(tr("<b>Du har %1 minutter til diktaten</b><hr></html>").arg(table.minutes));
    timeLabel->setFont(textFont);

    int fieldNumber = table.firstField;
    for (const StoryLine &line : table.lines) {
        auto *row = new QHBoxLayout;
        for (const StoryPiece &piece : line.pieces) {
            if (piece.isGap()) {
                auto *field = new DictateWord(this, piece.word, piece.soundFile,
                                              table.narrowFields, piece.exactCase);
                field->setObjectName(RecoveryText::answerKey(fieldNumber++));
                wordFields.append(field);
                row->addWidget(field);
            } else {
                auto *label = new QLabel(piece.text);
                textLabels.append(label);
                row->addWidget(label);
            }
        }
        row->addStretch();
        rowLayouts.append(row);
    }

    upperRuleLabel = new QLabel(tr("<html><hr></html>"));
    footerLabel = new QLabel(tr("Når du mener, du er færdig, klikker du på den grønne pil."));
    lowerRuleLabel = new QLabel(tr("<html><hr></html>"));
    nextButton = new DarkButton(this, QStringLiteral("next.png"));
    nextButton->setObjectName(QStringLiteral("nextButton"));
    buttonRow->addStretch();
    buttonRow->addWidget(nextButton);

    mainLayout->addSpacing(20);
    mainLayout->addWidget(titleLabel);
    mainLayout->addWidget(timeLabel);
    mainLayout->addSpacing(20);
    for (int i = 0; i < rowLayouts.size(); ++i) {
        mainLayout->addLayout(rowLayouts[i]);
        const bool paragraphEnds = i + 1 == rowLayouts.size()
                || table.lines[i + 1].paragraph != table.lines[i].paragraph;
        if (paragraphEnds)
            mainLayout->addSpacing(20);
    }
    mainLayout->addWidget(upperRuleLabel);
    mainLayout->addWidget(footerLabel);
    mainLayout->addWidget(lowerRuleLabel);
    mainLayout->addLayout(buttonRow);
    mainLayout->addStretch();
    setLayout(mainLayout);

    // A screen reader says which word a field is and reads its sentence, with the word
    // itself left out: hearing it is the recording's task, and reading it would spell it.
    const StoryText story = storyText(table);
    for (int i = 0; i < wordFields.size(); ++i) {
        wordFields[i]->setAccessibleName(tr("Ord %1 af %2").arg(i + 1).arg(wordFields.size()));
        wordFields[i]->setAccessibleDescription(story.sentenceOfGap(i, QStringLiteral("…")));
    }

    // Enter moves on to the next word; from the last word back to the first.
    for (int i = 0; i < wordFields.size(); ++i) {
        DictateWord *next = wordFields[(i + 1) % wordFields.size()];
        connect(wordFields[i], &QLineEdit::returnPressed, next, qOverload<>(&QWidget::setFocus));
    }
    connect(nextButton, &QPushButton::clicked, this, &DictationPage::slotNextPage);
}

void DictationPage::timeUp()
{
    // Disabling the field with the cursor would make Qt move the cursor on through every
    // later field, each one starting its sentence; the sentence that plays is left alone.
    QWidget *focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused))
        focused->clearFocus();
    for (DictateWord *field : std::as_const(wordFields))
        field->setEnabled(false);
    timeIsUp = true;
}

void DictationPage::showEvent(QShowEvent *event)
{
    // A window restored by the system (after being minimised) shows the page again; that
    // must neither restart the clock of the report nor move the learner's cursor.
    if (!event->spontaneous()) {
        activateWindow();
        // The first empty word: a test continued after a crash goes on where it stopped.
        auto empty = std::find_if(wordFields.cbegin(), wordFields.cend(),
                                  [](const DictateWord *field) { return field->text().isEmpty(); });
        (empty == wordFields.cend() ? wordFields.first() : *empty)->setFocus(Qt::OtherFocusReason);
        clock.start();
    }
    CenterFrame::showEvent(event);
}

qint64 DictationPage::workedMs() const
{
    return workedBefore + (clock.isValid() ? clock.elapsed() : 0);
}

QStringList DictationPage::answers() const
{
    QStringList texts;
    for (const DictateWord *field : wordFields)
        texts.append(field->text());
    return texts;
}

QString DictationPage::elapsedTimeStamp() const
{
    return ReportText::timeStamp(workedMs() / 1000);
}

void DictationPage::slotNextPage()
{
    voicePlayer->stop();
    if (!timeIsUp && !confirmHandIn())
        return;
    if (!writeResults()) {
        emit reportFailed();
        return;
    }
    emit nextPage();
}

bool DictationPage::confirmHandIn()
{
    QMessageBox box;
    box.setWindowTitle(tr("Advarsel!"));
    box.setIcon(QMessageBox::Warning);
    box.setText(tr("Er du sikker på, at du er\nHELT færdig med Diktat %1?").arg(table.number));
    box.addButton(tr("Ja"), QMessageBox::YesRole);
    QPushButton *noButton = box.addButton(tr("Nej"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() != noButton;
}
