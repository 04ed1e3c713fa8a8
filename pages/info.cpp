#include "pages/info.h"

#include "archive/session.h"
#include "content/pagetexts.h"
#include "input/learnertext.h"
#include "input/learnertextvalidator.h"
#include "model/reporttext.h"
#include "widgets/darkbutton.h"
#include "widgets/plainmessage.h"
#include "widgets/reportstage.h"
#include "widgets/voiceplayer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

constexpr int gridRows = 6; // date to years at primary school; the questions stand below

} // namespace

Info::Info(QWidget *parent, Session &session)
    : CenterFrame(parent)
    , session(session)
{
    const QString date = ReportText::dateText(QDateTime::currentDateTime().date());

    mainLayout = new QVBoxLayout;
    formGrid = new QGridLayout;
    buttonRow = new QHBoxLayout;

    const QStringList texts = PageTexts::infoTexts();
    headingLabel = new QLabel(texts[0]);
    headingLabel->setFont(headingFont);
    introLabel = new QLabel(texts[1]);
    requiredLabel = new QLabel(texts[2]);
    const QStringList labelTexts = PageTexts::infoFieldLabels();
    const QStringList fieldNames = PageTexts::infoFieldObjectNames();
    for (int i = 0; i < FieldCount; ++i) {
        auto *label = new QLabel(labelTexts[i]);
        auto *field = new QLineEdit;
        field->setObjectName(fieldNames[i]);
        field->setValidator(new LearnerTextValidator(field));
        // The label names the field for a screen reader; its markup (the orange) must not.
        label->setBuddy(field);
        field->setAccessibleName(QTextDocumentFragment::fromHtml(labelTexts[i]).toPlainText());
        labels.append(label);
        fields.append(field);
    }
    fields[Date]->setMinimumSize(350, 0);
    fields[Date]->setText(date);
    ruleLabel = new QLabel(texts.last());

    voiceButton = new DarkButton(this, QStringLiteral("voice.png"));
    voiceButton->setObjectName(QStringLiteral("voiceButton"));
    nextButton = new DarkButton(this, QStringLiteral("next.png"));
    nextButton->setObjectName(QStringLiteral("nextButton"));

    for (int row = 0; row < gridRows; ++row) {
        formGrid->addWidget(labels[row], row, 0, Qt::AlignRight);
        formGrid->addWidget(fields[row], row, 1);
    }

    buttonRow->addWidget(voiceButton);
    buttonRow->addStretch();
    buttonRow->addWidget(nextButton);

    mainLayout->addSpacing(20);
    mainLayout->addWidget(headingLabel);
    mainLayout->addSpacing(20);
    mainLayout->addWidget(introLabel);
    mainLayout->addWidget(requiredLabel);
    mainLayout->addSpacing(10);
    mainLayout->addLayout(formGrid);
    mainLayout->addSpacing(20);
    for (int i = gridRows; i < FieldCount; ++i) {
        mainLayout->addWidget(labels[i]);
        mainLayout->addWidget(fields[i]);
    }
    mainLayout->addWidget(ruleLabel);
    mainLayout->addLayout(buttonRow);
    mainLayout->addStretch();
    setLayout(mainLayout);

    // Tab goes down the form and then to the loudspeaker and the arrow.
    for (int i = 0; i + 1 < FieldCount; ++i)
        setTabOrder(fields[i], fields[i + 1]);
    setTabOrder(fields[Job], voiceButton);
    setTabOrder(voiceButton, nextButton);

    // Return moves on through the form and wraps to the place of teaching, skipping the
    // prefilled date; it never submits.
    for (int i = 0; i < FieldCount; ++i) {
        QLineEdit *next = fields[i + 1 < FieldCount ? i + 1 : Place];
        connect(fields[i], &QLineEdit::returnPressed, next, qOverload<>(&QWidget::setFocus));
    }
    connect(voiceButton, &DarkButton::clicked, this, &Info::slotPlayVoice);
    connect(nextButton, &DarkButton::clicked, this, &Info::slotNextPage);
}

QString Info::learnerName() const
{
    return LearnerText::clean(fields[Name]->text());
}

void Info::showEvent(QShowEvent *event)
{
    activateWindow();
    fields[Place]->setFocus(Qt::OtherFocusReason);
    voicePlayer->play(PageTexts::infoSoundFile());
    CenterFrame::showEvent(event);
}

void Info::slotNextPage()
{
    if (!checkRequired())
        return;
    if (!writeHeader()) {
        emit reportFailed();
        return;
    }
    voicePlayer->stop();
    emit nextPage();
}

void Info::slotPlayVoice()
{
    voicePlayer->play(PageTexts::infoSoundFile());
}

bool Info::checkRequired()
{
    const struct {
        Field field;
        const char *message;
    } required[] = {
        { Name, QT_TR_NOOP("Du mangler at skrive dit navn!") },
        { Address, QT_TR_NOOP("Du mangler at skrive din adresse!") },
        { BirthYear, QT_TR_NOOP("Du mangler at skrive dit fødselsår!") },
    };
    for (const auto &check : required) {
        if (LearnerText::clean(fields[check.field]->text()).isEmpty()) {
            PlainMessage::warning(this, tr("Ups!"), tr(check.message), QMessageBox::Ok, QMessageBox::NoButton);
            fields[check.field]->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool Info::writeHeader()
{
    QStringList details;
    for (const QLineEdit *field : std::as_const(fields))
        details.append(LearnerText::clean(field->text()));
    session.learner().details = details;
    return ReportStage::write(this, session, ReportFile::Create, ReportText::header(details));
}
