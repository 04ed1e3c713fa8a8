#include "gate/splashdialog.h"

#include "widgets/compiledpicture.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
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

SplashDialog::SplashDialog(QWidget *parent, const MachineSettings &settings, Purpose purpose,
                           PasswordThrottle *throttle)
    : QDialog(parent)
    , purpose(purpose)
    , settings(settings)
    , throttle(throttle ? throttle : &ownThrottle)
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

SplashDialog::~SplashDialog()
{
    // A check still running finishes on its own; its answer goes nowhere.
    if (checking)
        checking->disconnect(this);
}

void SplashDialog::slotCheckPassword()
{
    if (checking)
        return;
    // Every box makes guessing slow: each wrong try in a row waits longer for its answer.
    const int delay = throttle->nextDelayMs();
    setChecking(true);
    messageLabel->setText(QStringLiteral(" "));
    QTimer::singleShot(delay, this, &SplashDialog::answer);
}

// Nothing to type or press until the answer comes; cancelling still works.
void SplashDialog::setChecking(bool on)
{
    passwordEdit->setEnabled(!on);
    continueButton->setEnabled(!on);
    if (on)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void SplashDialog::answer()
{
    if (!isVisible()) { // cancelled while a slow answer waited
        setChecking(false);
        return;
    }
    // The check is slow on purpose (the key derivation takes half a second or more), so it
    // runs beside the window, which goes on answering.
    const QString typed = passwordEdit->text();
    const MachineSettings checkedSettings = settings;
    const KeyUnlock unlock = afterAccepted;
    auto right = std::make_shared<bool>(false);
    checking = QThread::create([checkedSettings, unlock, typed, right]() {
        const MachineSettings::Unlock opened = checkedSettings.unlock(typed);
        *right = opened.accepted && (!unlock || unlock(typed, opened.key));
    });
    connect(checking, &QThread::finished, checking, &QObject::deleteLater);
    connect(checking, &QThread::finished, this, [this, right]() {
        checking = nullptr;
        checked(*right);
    });
    checking->start();
}

void SplashDialog::checked(bool right)
{
    setChecking(false);
    if (!isVisible())
        return;
    throttle->record(right);
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
