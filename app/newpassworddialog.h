#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// IT's dialog for "skrivlo --ny-adgangskode": the school's password, typed twice, written
// to the machine's settings as a hash.
class NewPasswordDialog : public QDialog
{
    Q_OBJECT

public:
    // What main does for the option: checks the rights to write first, so nobody types a
    // password in vain, then asks and writes. 0 when the password was saved.
    static int run(const QString &settingsPath);

    explicit NewPasswordDialog(const QString &settingsPath, QWidget *parent = nullptr);

public slots:
    void slotSave();

private:
    QString settingsPath;
    QLabel *introLabel;
    QLineEdit *firstEdit;
    QLineEdit *secondEdit;
    QLabel *messageLabel;
    QPushButton *cancelButton;
    QPushButton *saveButton;
};
