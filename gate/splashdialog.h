#pragma once

#include "settings/machinesettings.h"
#include "settings/passwordthrottle.h"

#include <QDialog>
#include <QFont>

#include <functional>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QThread;
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

    // The settings say which password opens it: the school's, or the fixed one. throttle:
    // the count of wrong tries, when it must outlive the dialog (the end of a test asks anew
    // each time); else the dialog keeps its own.
    SplashDialog(QWidget *parent, const MachineSettings &settings, Purpose purpose = Unlock,
                 PasswordThrottle *throttle = nullptr);
    ~SplashDialog() override;

    // What a right password opens besides the dialog (the class key, read or made), run on a
    // worker thread once the settings accepted it, with the key the settings' line gave (null
    // when they hold none); false when it failed. It must own what it writes to: the dialog
    // may be gone before it ends.
    using KeyUnlock = std::function<bool(const QString &password, std::shared_ptr<const ClassKey> settingsKey)>;
    void setUnlock(KeyUnlock unlock) { afterAccepted = std::move(unlock); }

signals:
    // The first key of a password: time to prepare what comes after it.
    void passwordEdited();

public slots:
    void slotCheckPassword();

private:
    void answer();
    void checked(bool right);
    void setChecking(bool checking);

    Purpose purpose;
    const MachineSettings settings;
    PasswordThrottle ownThrottle;
    PasswordThrottle *throttle;
    KeyUnlock afterAccepted;
    QThread *checking = nullptr;
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
