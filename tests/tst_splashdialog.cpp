#include "gate/splashdialog.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QtTest>
#include <QtWidgets>

// The teacher's password: exact equality, a clear message, nothing lost on a wrong try; the
// school's password in place of the fixed one when IT has set it; slow guessing in front of
// the teacher's view.
class TestSplashDialog : public QObject
{
    Q_OBJECT

private slots:
    void password_data();
    void password();
    void messageStaysThroughRepeatedFailures();
    void escapeAndCancelReject_data();
    void escapeAndCancelReject();
    void slowAfterThreeWrongTries_data();
    void slowAfterThreeWrongTries();
    void closingTheProgram_data();
    void closingTheProgram();

private:
    QTemporaryDir machine;
};

void TestSplashDialog::password_data()
{
    QTest::addColumn<QString>("school"); // set by IT; empty: none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right") << "" << "kanelsnegle" << true;
    QTest::newRow("empty") << "" << "" << false;
    QTest::newRow("blank before") << "" << " kanelsnegle" << false;
    QTest::newRow("blank after") << "" << "kanelsnegle " << false;
    QTest::newRow("capitals") << "" << "KANELSNEGLE" << false;
    QTest::newRow("capital first") << "" << "Kanelsnegle" << false;
    QTest::newRow("part") << "" << "kanel" << false;
    QTest::newRow("longer") << "" << "kanelsneglen" << false;
    QTest::newRow("school's set: the fixed") << "Æblegrød 1. klasse" << "kanelsnegle" << false;
    QTest::newRow("school's set: the school's") << "Æblegrød 1. klasse" << "Æblegrød 1. klasse" << true;
    QTest::newRow("school's set: near miss") << "Æblegrød 1. klasse" << "æblegrød 1. klasse" << false;
}

void TestSplashDialog::password()
{
    QFETCH(QString, school);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    const QString ini = machine.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".ini"));
    QString reason;
    if (!school.isEmpty())
        QVERIFY2(MachineSettings::writePassword(ini, school, &reason), qPrintable(reason));

    SplashDialog dialog(nullptr, MachineSettings::read(ini));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"));
    auto *message = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
    QVERIFY(edit && message);
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QVERIFY(edit->hasFocus());

    QSignalSpy acceptedSpy(&dialog, &QDialog::accepted);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return); // Enter presses "Fortsæt"

    // The check runs beside the window; the answer comes when it is done.
    if (accepted)
        QTRY_COMPARE_WITH_TIMEOUT(acceptedSpy.count(), 1, 10000);
    if (!accepted) {
        QTRY_COMPARE_WITH_TIMEOUT(message->text(), QStringLiteral("<html><font color=\"red\">Forkert password!</font></html>"), 10000);
        QCOMPARE(acceptedSpy.count(), 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(edit->text(), typed); // the wrong text stays for the teacher to see and correct
        QVERIFY(edit->hasFocus());
    }
}

void TestSplashDialog::messageStaysThroughRepeatedFailures()
{
    SplashDialog dialog(nullptr, MachineSettings());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"));
    auto *message = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
    auto *continueButton = dialog.findChild<QPushButton *>(QStringLiteral("continueButton"));
    QCOMPARE(message->text(), QStringLiteral(" "));
    for (int attempt = 0; attempt < 3; ++attempt) {
        QTest::mouseClick(continueButton, Qt::LeftButton);
        QTRY_COMPARE(message->text(), QStringLiteral("<html><font color=\"red\">Forkert password!</font></html>"));
        QVERIFY(dialog.isVisible());
    }
    QTRY_VERIFY(continueButton->isEnabled());
    edit->setText(QStringLiteral("kanelsnegle"));
    QTest::mouseClick(continueButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), 10000);
}

void TestSplashDialog::escapeAndCancelReject_data()
{
    QTest::addColumn<bool>("useEscape");
    QTest::newRow("Annullér") << false;
    QTest::newRow("Escape") << true;
}

void TestSplashDialog::escapeAndCancelReject()
{
    QFETCH(bool, useEscape);
    SplashDialog dialog(nullptr, MachineSettings());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    if (useEscape)
        QTest::keyClick(dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit")), Qt::Key_Escape);
    else
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!dialog.isVisible());
}

void TestSplashDialog::slowAfterThreeWrongTries_data()
{
    QTest::addColumn<int>("purpose");
    QTest::newRow("the test") << int(SplashDialog::Unlock);
    QTest::newRow("the teacher's view") << int(SplashDialog::Results);
    QTest::newRow("the end of a test, asked anew each time") << int(SplashDialog::EndTest);
}

// How long the waits are is the throttle's (tst_schoolpassword); here, that every box waits,
// also the end of a test, whose box comes anew after each wrong try.
void TestSplashDialog::slowAfterThreeWrongTries()
{
    QFETCH(int, purpose);
    PasswordThrottle tries;
    const QString wrong = QStringLiteral("<html><font color=\"red\">Forkert password!</font></html>");
    auto tryOnce = [&](const QString &typed, bool expectWait) {
        SplashDialog dialog(nullptr, MachineSettings(), SplashDialog::Purpose(purpose), &tries);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"));
        auto *message = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
        auto told = purpose == SplashDialog::EndTest ? answerMessageBox(QStringLiteral("OK")) : nullptr;
        edit->setText(typed);
        QElapsedTimer waited;
        waited.start();
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->isEnabled()); // no second try while one is checked
        QTRY_VERIFY_WITH_TIMEOUT(dialog.result() == QDialog::Accepted || message->text() == wrong
                                         || (told && told->seen), 10000);
        disarmModalAnswerers();
        QCOMPARE(waited.elapsed() >= PasswordThrottle::firstDelayMs, expectWait);
    };
    for (int attempt = 0; attempt < PasswordThrottle::freeTries && !QTest::currentTestFailed(); ++attempt)
        tryOnce(QStringLiteral("kanel"), false);
    // The fourth try, the right password: answered only after a wait.
    if (!QTest::currentTestFailed())
        tryOnce(QStringLiteral("kanelsnegle"), true);
}

void TestSplashDialog::closingTheProgram_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("closes");
    QTest::newRow("right") << "kanelsnegle" << true;
    QTest::newRow("wrong") << "kanel" << false;
}

// Closing the window mid-test: the button says it closes the program, and a wrong password
// is said so before the test comes back.
void TestSplashDialog::closingTheProgram()
{
    QFETCH(QString, typed);
    QFETCH(bool, closes);
    SplashDialog dialog(nullptr, MachineSettings(), SplashDialog::EndTest);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Luk programmet?"));
    auto *continueButton = dialog.findChild<QPushButton *>(QStringLiteral("continueButton"));
    QCOMPARE(continueButton->text(), QStringLiteral("Luk programmet"));
    dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(typed);
    auto told = answerMessageBox(QStringLiteral("OK"));
    QTest::mouseClick(continueButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
    QCOMPARE(dialog.result(), int(closes ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(told->seen, !closes);
    if (!closes)
        QVERIFY2(told->text.contains(QStringLiteral("Testen fortsætter")), qPrintable(told->text));
    disarmModalAnswerers();
}

SKRIVLO_TEST_MAIN(TestSplashDialog)
#include "tst_splashdialog.moc"
