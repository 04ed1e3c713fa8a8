#include "gate/newpassworddialog.h"

#include "settings/machinesettings.h"
#include "settings/passwordstrength.h"
#include "widgets/plainmessage.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QEventLoop>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <utility>

namespace {

// Runs the slow key derivation beside the dialog, which stays painted while it waits.
template<typename Fn>
auto besideTheWindow(QWidget *window, Fn fn)
{
    decltype(fn()) result {};
    window->setEnabled(false);
    window->setCursor(Qt::BusyCursor);
    QEventLoop waiting;
    QThread *worker = QThread::create([&result, &fn]() { result = fn(); });
    QObject::connect(worker, &QThread::finished, &waiting, &QEventLoop::quit);
    worker->start();
    waiting.exec();
    worker->wait();
    delete worker;
    window->unsetCursor();
    window->setEnabled(true);
    return result;
}

} // namespace

int NewPasswordDialog::run(const QString &settingsPath)
{
    QString reason;
    if (!MachineSettings::canWrite(settingsPath, &reason)) {
        PlainMessage::critical(nullptr, tr("Skolens password kan ikke gemmes"), reason, QMessageBox::Ok);
        return 1;
    }
    NewPasswordDialog dialog(settingsPath);
    if (dialog.exec() != QDialog::Accepted)
        return 1;
    PlainMessage::information(nullptr, tr("Skolens password er gemt"),
                              tr("Skolens password er gemt i »%1«.\n\n"
                                 "Det gælder, næste gang Skrivlo startes på denne pc.")
                                      .arg(QDir::toNativeSeparators(settingsPath)),
                              QMessageBox::Ok);
    return 0;
}

NewPasswordDialog::NewPasswordDialog(const QString &settingsPath, QWidget *parent)
    : QDialog(parent)
    , settingsPath(settingsPath)
    , keyIsSet(!MachineSettings::read(settingsPath).schoolKeyLine().isEmpty())
{
    setWindowTitle(tr("Skolens password"));
    introLabel = new QLabel(tr("Skolens password gælder for alle, der bruger Skrivlo på denne pc, i stedet for "
                               "det faste password. Det gemmes ikke som tekst, kun som en nøgle, der kun kan "
                               "åbnes med det, i »%1«.")
                                    .arg(QDir::toNativeSeparators(settingsPath)));
    introLabel->setWordWrap(true);
    currentEdit = new QLineEdit(this); // owned also when no current password is asked for
    currentEdit->setObjectName(QStringLiteral("currentEdit"));
    currentEdit->setEchoMode(QLineEdit::Password);
    forgottenLabel = new QLabel(tr("Er det nuværende password glemt, så fjern linjen »password=« i filen, og kør "
                                   "kommandoen igen. Resultater, der er gemt før, kan så kun åbnes med det gamle "
                                   "password."));
    forgottenLabel->setWordWrap(true);
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
    if (keyIsSet)
        fields->addRow(tr("Nuværende password:"), currentEdit);
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
    layout->addWidget(forgottenLabel);
    layout->addLayout(buttons);
    setLayout(layout);
    setMinimumWidth(420);

    saveButton->setDefault(true);
    connect(cancelButton, &QPushButton::clicked, this, &NewPasswordDialog::reject);
    connect(saveButton, &QPushButton::clicked, this, &NewPasswordDialog::slotSave);
    currentEdit->setVisible(keyIsSet);
    forgottenLabel->setVisible(keyIsSet);
    (keyIsSet ? currentEdit : firstEdit)->setFocus(Qt::OtherFocusReason);
}

void NewPasswordDialog::showObjection(const QString &objection, QLineEdit *field)
{
    messageLabel->setText(tr("<html><font color=\"red\">%1</font></html>").arg(objection.toHtmlEscaped()));
    field = field ? field : firstEdit;
    field->selectAll();
    field->setFocus(Qt::OtherFocusReason);
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
        showObjection(objection);
        return;
    }
    // The key every result so far is sealed with, wrapped anew under the new password.
    std::shared_ptr<const ClassKey> key;
    if (keyIsSet) {
        const QString current = currentEdit->text();
        key = besideTheWindow(this, [this, current]() {
            return MachineSettings::read(settingsPath).unlock(current).key;
        });
        if (!key) {
            showObjection(tr("Det nuværende password er forkert."), currentEdit);
            return;
        }
    }
    QString reason;
    const bool written = besideTheWindow(this, [this, word, key, &reason]() {
        return MachineSettings::writePassword(settingsPath, word, &reason, key);
    });
    if (!written) {
        PlainMessage::critical(this, tr("Skolens password kan ikke gemmes"), reason, QMessageBox::Ok);
        reject();
        return;
    }
    accept();
}
