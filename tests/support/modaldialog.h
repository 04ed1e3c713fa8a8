#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

// Answers a modal dialog that a test is about to open, so exec() never blocks the suite.
// The answer is given as soon as the dialog is the active modal widget; a dialog that is
// still open after the timeout is closed, and the record tells the test what happened.
struct ModalRecord
{
    bool seen = false;
    QString className;
    QString title;
    QString text; // the text of a message box
};

using ModalAction = std::function<void(QWidget *dialog)>;

std::shared_ptr<ModalRecord> answerModal(ModalAction action, int timeoutMs = 5000);

// Clicks the message box button with this text ("Ja", "Nej", "OK" ...).
std::shared_ptr<ModalRecord> clickMessageBoxButton(const QString &buttonText, int timeoutMs = 5000);
