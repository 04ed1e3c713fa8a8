#include "app/newpassworddialog.h"

#include "settings/machinesettings.h"
#include "settings/passwordstrength.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

int NewPasswordDialog::run(const QString &settingsPath)
{
    QString reason;
    if (!MachineSettings::canWrite(settingsPath, &reason)) {
        QMessageBox::critical(nullptr, tr("Skolens password kan ikke gemmes"), reason, QMessageBox::Ok);
        return 1;
    }
    NewPasswordDialog dialog(settingsPath);
    if (dialog.exec() != QDialog::Accepted)
        return 1;
    QMessageBox::information(nullptr, tr("Skolens password er gemt"),
                             tr("Skolens password er gemt i »%1«.\n\n"
                                "Det gælder, næste gang Skrivlo startes på denne pc.")
                                     .arg(QDir::toNativeSeparators(settingsPath)),
                             QMessageBox::Ok);
    return 0;
}

NewPasswordDialog::NewPasswordDialog(const QString &settingsPath, QWidget *parent)
    : QDialog(parent)
    , settingsPath(settingsPath)
{
    setWindowTitle(tr("Skolens password"));
    introLabel = new QLabel(tr("Skolens password gælder for alle, der bruger Skrivlo på denne pc, i stedet for "
                               "det faste password. Det gemmes ikke som tekst, kun som en hash, i »%1«.")
                                    .arg(QDir::toNativeSeparators(settingsPath)));
    introLabel->setWordWrap(true);
    firstEdit = new QLineEdit;
    firstEdit->setObjectName(QStringLiteral("firstEdit"));
    firstEdit->setEchoMode(QLineEdit::Password);
    secondEdit = new QLineEdit;
    secondEdit->setObjectName(QStringLiteral("secondEdit"));
    secondEdit->setEchoMode(QLineEdit::Password);
    messageLabel = new QLabel(QStringLiteral(" "));
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    cancelButton = new QPushButton(tr("Annullér"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    saveButton = new QPushButton(tr("Gem"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));

    auto *fields = new QFormLayout;
    fields->addRow(tr("Nyt password:"), firstEdit);
    fields->addRow(tr("Skriv det igen:"), secondEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    auto *layout = new QVBoxLayout;
    layout->addWidget(introLabel);
    layout->addSpacing(10);
    layout->addLayout(fields);
    layout->addWidget(messageLabel);
    layout->addLayout(buttons);
    setLayout(layout);
    setMinimumWidth(420);

    saveButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, &NewPasswordDialog::reject);
    connect(saveButton, &QPushButton::clicked, this, &NewPasswordDialog::slotSave);
    firstEdit->setFocus(Qt::OtherFocusReason);
}

void NewPasswordDialog::slotSave()
{
    const QString word = firstEdit->text();
    QString objection;
    if (word.isEmpty())
        objection = tr("Skriv et password.");
    // The fixed password is printed in the guide; as the school's it would lock nothing.
    else if (MachineSettings().acceptsPassword(word))
        objection = tr("Vælg et andet password end det faste.");
    else if (!PasswordStrength::objection(word).isEmpty())
        objection = PasswordStrength::objection(word);
    else if (word != secondEdit->text())
        objection = tr("Der står ikke det samme i de to felter.");
    if (!objection.isEmpty()) {
        messageLabel->setText(tr("<html><font color=\"red\">%1</font></html>").arg(objection.toHtmlEscaped()));
        firstEdit->selectAll();
        firstEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    QString reason;
    if (!MachineSettings::writePassword(settingsPath, word, &reason)) {
        QMessageBox::critical(this, tr("Skolens password kan ikke gemmes"), reason, QMessageBox::Ok);
        reject();
        return;
    }
    accept();
}
