#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// IT's dialog for "skrivlo --ny-adgangskode": the school's password, typed twice, written
// to the machine's settings as the class key wrapped under it. Where a school key is set
// already, the current password is asked for too, so that the same key is wrapped anew and
// every result sealed with it still opens.
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
    // Says what is wrong under the fields, and puts the cursor where it is to be mended.
    void showObjection(const QString &objection, QLineEdit *field = nullptr);

    QString settingsPath;
    bool keyIsSet;
    QLabel *introLabel;
    QLineEdit *currentEdit;
    QLabel *forgottenLabel;
    QLineEdit *firstEdit;
    QLineEdit *secondEdit;
    QLabel *messageLabel;
    QPushButton *cancelButton;
    QPushButton *saveButton;
};
