#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Qt's message boxes with their text shown as plain text. A box names files, folders and
// reasons, and a name may hold what a learner typed (a PDF is named after the learner); Qt
// would show a text that looks like markup as rich text, and load the pictures it names.
namespace PlainMessage {

// With the icon the case calls for (a warning when something went wrong).
QMessageBox::StandardButton tell(QMessageBox::Icon icon, QWidget *parent, const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

} // namespace PlainMessage
