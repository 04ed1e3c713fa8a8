#pragma once

#include "settings/machinesettings.h"
#include "settings/passwordthrottle.h"

#include <QDialog>
#include <QFont>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The teacher's access lock in front of the test.
class SplashDialog : public QDialog
{
    Q_OBJECT

public:
    enum Purpose {
        Unlock,  // at start-up, in front of the test
        EndTest, // when the window is closed before the test is finished
        Results  // in front of the teacher's view: as Unlock, but guessing is made slow
    };

    // The settings say which password opens it: the school's, or the fixed one.
    SplashDialog(QWidget *parent, const MachineSettings &settings, Purpose purpose = Unlock);

signals:
    // The first key of a password: time to prepare what comes after it.
    void passwordEdited();

public slots:
    void slotCheckPassword();

private:
    void answer();

    Purpose purpose;
    const MachineSettings settings;
    PasswordThrottle throttle;
    QVBoxLayout *mainLayout;
    QHBoxLayout *buttonLayout;
    QFont smallFont;
    QFont bigFont;
    QLabel *pictureLabel;
    QLabel *titleLabel;
    QLabel *versionLabel;
    QLabel *creditsLabel;
    QLabel *welcomeLabel;
    QLabel *promptLabel;
    QLabel *messageLabel;
    QLineEdit *passwordEdit;
    QPushButton *cancelButton;
    QPushButton *continueButton;
};
