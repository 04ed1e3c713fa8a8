#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// Answers a modal dialog that a test is about to open, so exec() never blocks the suite.
// The answer is given as soon as the dialog is the active modal widget; the record says
// what came up. A dialog that does not come up within the timeout is simply not answered.
struct ModalRecord
{
    bool seen = false;
    QString className;
    QString title;
    // For a message box:
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // texts in the box's order, without mnemonics
    QMessageBox::StandardButtons standardButtons;
};

using ModalAction = std::function<void(QWidget *dialog)>;

std::shared_ptr<ModalRecord> answerModal(ModalAction action, int timeoutMs = 5000);

// Answers a message box with the button of that text ("Ja", "Nej", "OK" ...), or with the
// Escape key for "Escape". whileOpen runs first, while the box is still open.
std::shared_ptr<ModalRecord> answerMessageBox(const QString &answer, std::function<void()> whileOpen = {},
                                              int timeoutMs = 5000);

// Closes any modal dialog that comes up within the time; seen says whether one did.
std::shared_ptr<ModalRecord> guardNoModal(int timeoutMs = 400);

// Stops every answerer still waiting, so none can answer a later test's dialog.
void disarmModalAnswerers();
