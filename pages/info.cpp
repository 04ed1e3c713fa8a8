#include "info.h"

#include "darkbutton.h"
#include "learnerrecord.h"
#include "learnertext.h"
#include "learnertextvalidator.h"
#include "reportfile.h"
#include "reporttext.h"
#include "voiceplayer.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

const char *const fieldNames[] = {
    "dateEdit", "placeEdit", "nameEdit", "addressEdit", "birthYearEdit",
    "schoolEdit", "examEdit", "educationEdit", "jobEdit",
};

constexpr int gridRows = 6; // date to years at primary school; the questions stand below

} // namespace

Info::Info(QWidget *parent)
    : CenterFrame(parent)
{
    const QString date = ReportText::dateText(QDateTime::currentDateTime().date());

    mainLayout = new QVBoxLayout;
    formGrid = new QGridLayout;
    buttonRow = new QHBoxLayout;

    const QStringList texts = pageTexts();
    headingLabel = new QLabel(texts[0]);
    headingLabel->setFont(headingFont);
    introLabel = new QLabel(texts[1]);
    requiredLabel = new QLabel(texts[2]);
    const QStringList labelTexts = fieldLabels();
    for (int i = 0; i < FieldCount; ++i) {
        auto *label = new QLabel(labelTexts[i]);
        auto *field = new QLineEdit;
        field->setObjectName(QString::fromLatin1(fieldNames[i]));
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

QStringList Info::fieldObjectNames()
{
    QStringList names;
    for (const char *name : fieldNames)
        names.append(QString::fromLatin1(name));
    return names;
}

QStringList Info::fieldLabels()
{
    return {
        tr("Dato:"),
        tr("Undervisningssted:"),
        tr("<html><font color=\"orange\">Navn:</font></html>"),
        tr("<html><font color=\"orange\">Adresse:</font></html>"),
        tr("<html><font color=\"orange\">Fødselsår:</font></html>"),
        tr("Hvor længe har du gået i folkeskole?"),
        tr("Har du studentereksamen eller tilsvarende?"),
        tr("Har du en uddannelse? Hvilken?"),
        tr("Er du i job? Hvilket?"),
    };
}

QStringList Info::pageTexts()
{
    QStringList texts {
        tr("<html><b>Oplysninger om dig selv</b></html>"),
        tr("<html><hr>Her skal du skrive lidt oplysninger om dig selv.</html>"),
        tr("<html>Du <u>skal</u> udfylde de <font color=\"orange\">orange</font> felter!<hr>"),
    };
    texts += fieldLabels();
    texts += tr("<html><hr></html>");
    return texts;
}

QString Info::learnerName() const
{
    return LearnerText::clean(fields[Name]->text());
}

void Info::showEvent(QShowEvent *event)
{
    activateWindow();
    fields[Place]->setFocus(Qt::OtherFocusReason);
    voicePlayer.play(tr("sounds/info.wav"));
    CenterFrame::showEvent(event);
}

void Info::slotNextPage()
{
    if (!checkRequired())
        return;
    writeHeader();
    voicePlayer.stop();
    emit nextPage();
}

void Info::slotPlayVoice()
{
    voicePlayer.play(tr("sounds/info.wav"));
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
            QMessageBox::warning(this, tr("Ups!"), tr(check.message), QMessageBox::Ok, QMessageBox::NoButton);
            fields[check.field]->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

void Info::writeHeader()
{
    QStringList details;
    for (const QLineEdit *field : std::as_const(fields))
        details.append(LearnerText::clean(field->text()));
    currentLearner().details = details;
    ReportFile::writeOrExit(this, ReportFile::Create, ReportText::header(details));
}
