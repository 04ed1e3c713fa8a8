#include "app/splashdialog.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QtTest>
#include <QtWidgets>

// The teacher's password: exact equality, a clear message, nothing lost on a wrong try.
class TestSplashDialog : public QObject
{
    Q_OBJECT

private slots:
    void password_data();
    void password();
    void messageStaysThroughRepeatedFailures();
    void escapeAndCancelReject_data();
    void escapeAndCancelReject();
    void closingTheProgram_data();
    void closingTheProgram();
};

void TestSplashDialog::password_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right") << "kanelsnegle" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank before") << " kanelsnegle" << false;
    QTest::newRow("blank after") << "kanelsnegle " << false;
    QTest::newRow("capitals") << "KANELSNEGLE" << false;
    QTest::newRow("capital first") << "Kanelsnegle" << false;
    QTest::newRow("part") << "kanel" << false;
    QTest::newRow("longer") << "kanelsneglen" << false;
}

void TestSplashDialog::password()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    SplashDialog dialog(nullptr);
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

    QCOMPARE(acceptedSpy.count(), accepted ? 1 : 0);
    if (!accepted) {
        QVERIFY(dialog.isVisible());
        QCOMPARE(message->text(), QStringLiteral("<html><font color=\"red\">Forkert password!</font></html>"));
        QCOMPARE(edit->text(), typed); // the wrong text stays for the teacher to see and correct
        QVERIFY(edit->hasFocus());
    }
}

void TestSplashDialog::messageStaysThroughRepeatedFailures()
{
    SplashDialog dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"));
    auto *message = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
    auto *continueButton = dialog.findChild<QPushButton *>(QStringLiteral("continueButton"));
    QCOMPARE(message->text(), QStringLiteral(" "));
    for (int attempt = 0; attempt < 3; ++attempt) {
        QTest::mouseClick(continueButton, Qt::LeftButton);
        QCOMPARE(message->text(), QStringLiteral("<html><font color=\"red\">Forkert password!</font></html>"));
        QVERIFY(dialog.isVisible());
    }
    edit->setText(QStringLiteral("kanelsnegle"));
    QTest::mouseClick(continueButton, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
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
    SplashDialog dialog(nullptr);
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
    SplashDialog dialog(nullptr, SplashDialog::EndTest);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Luk programmet?"));
    auto *continueButton = dialog.findChild<QPushButton *>(QStringLiteral("continueButton"));
    QCOMPARE(continueButton->text(), QStringLiteral("Luk programmet"));
    dialog.findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(typed);
    auto told = answerMessageBox(QStringLiteral("OK"));
    QTest::mouseClick(continueButton, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(closes ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(told->seen, !closes);
    if (!closes)
        QVERIFY2(told->text.contains(QStringLiteral("Testen fortsætter")), qPrintable(told->text));
    disarmModalAnswerers();
}

SKRIVLO_TEST_MAIN(TestSplashDialog)
#include "tst_splashdialog.moc"
