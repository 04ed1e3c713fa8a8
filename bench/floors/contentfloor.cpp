// Skrivlo's access dialog as a bare Qt program writes it: the same title, icon, picture,
// labels in the same fonts, field and buttons in the same layout, the pictures loaded as PNG
// from a resource and the labels as rich text, in Fusion. What Skrivlo does beyond this
// floor before the dialog is painted is its own cost. It quits as soon as the dialog has
// been painted.

#include "timing/timingmarks.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    TimingMarks::install([](const QString &what, const QString &name) {
        if (what == QLatin1String("painted") && name == QLatin1String("Floor content"))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });

    QDialog dialog;
    // A title of its own, so its mark is not taken for Skrivlo's.
    dialog.setWindowTitle(QStringLiteral("Floor content"));
    dialog.setWindowIcon(QIcon(QPixmap(QStringLiteral(":/skrivlo64.png"))));
    QFont smallFont = dialog.font();
    smallFont.setPointSize(7);
    QFont bigFont = dialog.font();
    bigFont.setPointSize(16);

    auto *pictureLabel = new QLabel;
    pictureLabel->setPixmap(QPixmap(QStringLiteral(":/skrivlo-splash.png")));
    pictureLabel->setAlignment(Qt::AlignRight);
    // Each font before its text, as in Skrivlo, so neither lays a label out twice.
    auto *titleLabel = new QLabel;
    titleLabel->setFont(bigFont);
    titleLabel->setText(QStringLiteral("<html><hr>Skrivlo</html>"));
    auto *versionLabel = new QLabel;
    versionLabel->setFont(smallFont);
    versionLabel->setText(QStringLiteral("<html><b>v e r s i o n&nbsp;&nbsp;&nbsp;1 . 0 2</b></html>"));
    auto *creditsLabel = new QLabel;
    creditsLabel->setFont(smallFont);
    creditsLabel->setText(QStringLiteral("<html>Udviklet til kursister og lærere i dansk som andetsprog.<br>"
                                         "Optagelserne kan erstattes med lærerens egne.<hr></html>"));
    auto *welcomeLabel = new QLabel(QStringLiteral("<html>Velkommen til »Skrivlo« - en diktat<br>til trinindplacering.</html>"));
    auto *promptLabel = new QLabel(QStringLiteral("Indtast password:"));
    // Named as Skrivlo's, so both print the same marks.
    auto *passwordEdit = new QLineEdit;
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    auto *messageLabel = new QLabel(QStringLiteral(" "));
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    auto *cancelButton = new QPushButton(QStringLiteral("Annullér"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto *continueButton = new QPushButton(QStringLiteral("Fortsæt"));
    continueButton->setObjectName(QStringLiteral("continueButton"));

    auto *buttonLayout = new QHBoxLayout;
    buttonLayout->addWidget(cancelButton);
    buttonLayout->addStretch();
    buttonLayout->addWidget(continueButton);

    auto *mainLayout = new QVBoxLayout(&dialog);
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

    continueButton->setDefault(true);
    QObject::connect(cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);
    passwordEdit->setFocus(Qt::OtherFocusReason);
    dialog.show();
    return application.exec();
}
