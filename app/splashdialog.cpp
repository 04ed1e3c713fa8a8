#include "app/splashdialog.h"

#include "widgets/compiledpicture.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// "1.02" as the dialog writes it: "1 . 0 2".
QString spacedOut(const QString &text)
{
    QStringList characters;
    for (const QChar c : text)
        characters.append(QString(c));
    return characters.join(QLatin1Char(' '));
}

} // namespace

SplashDialog::SplashDialog(QWidget *parent, const MachineSettings &settings, Purpose purpose)
    : QDialog(parent)
    , purpose(purpose)
    , settings(settings)
{
    setWindowTitle(tr("Adgang til..."));
    setWindowIcon(QIcon(CompiledPicture::pixmap(QStringLiteral("skrivlo64.png"))));
    smallFont = font();
    smallFont.setPointSize(7);
    bigFont = font();
    bigFont.setPointSize(16);

    pictureLabel = new QLabel;
    pictureLabel->setPixmap(CompiledPicture::pixmap(QStringLiteral("skrivlo-splash.png")));
    pictureLabel->setAlignment(Qt::AlignRight);
    // Each font before its text: a rich text is laid out again whenever its font changes.
    titleLabel = new QLabel;
    titleLabel->setFont(bigFont);
    titleLabel->setText(tr("<html><hr>Skrivlo</html>"));
    versionLabel = new QLabel;
    versionLabel->setFont(smallFont);
    versionLabel->setText(tr("<html><b>v e r s i o n&nbsp;&nbsp;&nbsp;%1</b></html>").arg(spacedOut(QStringLiteral(SKRIVLO_VERSION))));
    creditsLabel = new QLabel;
    creditsLabel->setFont(smallFont);
    creditsLabel->setText(tr("<html>Udviklet til kursister og lærere i dansk som andetsprog.<br>"
                             "Optagelserne kan erstattes med lærerens egne.<hr></html>"));
    welcomeLabel = new QLabel(tr("<html>Velkommen til »Skrivlo« - en diktat<br>til trinindplacering.</html>"));
    promptLabel = new QLabel(tr("Indtast password:"));
    passwordEdit = new QLineEdit;
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    messageLabel = new QLabel(QStringLiteral(" "));
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    cancelButton = new QPushButton(tr("Annullér"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    continueButton = new QPushButton(tr("Fortsæt"));
    continueButton->setObjectName(QStringLiteral("continueButton"));

    buttonLayout = new QHBoxLayout;
    buttonLayout->addWidget(cancelButton);
    buttonLayout->addStretch();
    buttonLayout->addWidget(continueButton);

    mainLayout = new QVBoxLayout;
    mainLayout->addWidget(pictureLabel);
    mainLayout->addWidget(titleLabel);
    mainLayout->addWidget(versionLabel);
    mainLayout->addSpacing(20);
    mainLayout->addWidget(creditsLabel);
    mainLayout->addSpacing(10);
    mainLayout->addWidget(welcomeLabel);
    mainLayout->addSpacing(10);
    mainLayout->addWidget(promptLabel);
    mainLayout->addWidget(passwordEdit);
    mainLayout->addWidget(messageLabel);
    mainLayout->addStretch(0);
    mainLayout->addLayout(buttonLayout);
    setLayout(mainLayout);

    if (purpose == EndTest) {
        setWindowTitle(tr("Luk programmet?"));
        welcomeLabel->setText(tr("<html>Testen er ikke færdig. Svarene er gemt,<br>og testen kan fortsættes, når programmet<br>"
                                 "startes igen. Kun læreren kan lukke programmet.</html>"));
        continueButton->setText(tr("Luk programmet"));
    }

    continueButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, &SplashDialog::reject);
    connect(continueButton, &QPushButton::clicked, this, &SplashDialog::slotCheckPassword);
    connect(passwordEdit, &QLineEdit::textEdited, this, &SplashDialog::passwordEdited);
    passwordEdit->setFocus(Qt::OtherFocusReason);
}

void SplashDialog::slotCheckPassword()
{
    const int delay = purpose == Results ? throttle.nextDelayMs() : 0;
    if (delay == 0) {
        answer();
        return;
    }
    // Nothing to type or press until the answer comes; cancelling still works.
    passwordEdit->setEnabled(false);
    continueButton->setEnabled(false);
    messageLabel->setText(QStringLiteral(" "));
    QTimer::singleShot(delay, this, &SplashDialog::answer);
}

void SplashDialog::answer()
{
    passwordEdit->setEnabled(true);
    continueButton->setEnabled(true);
    if (!isVisible()) // cancelled while a slow answer waited
        return;
    const bool right = settings.acceptsPassword(passwordEdit->text());
    throttle.record(right);
    if (right) {
        accept();
        return;
    }
    if (purpose == EndTest) {
        // Back to the test, said plainly; a learner cannot keep guessing in front of it.
        QMessageBox::warning(this, tr("Forkert password"),
                             tr("Forkert password. Programmet er ikke lukket.\nTesten fortsætter."),
                             QMessageBox::Ok);
        reject();
        return;
    }
    messageLabel->setText(tr("<html><font color=\"red\">Forkert password!</font></html>"));
    passwordEdit->setFocus(Qt::OtherFocusReason);
}
