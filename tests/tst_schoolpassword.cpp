#include "gate/newpassworddialog.h"
#include "sealing/keywrap.h"
#include "settings/machinesettings.h"
#include "settings/passwordstrength.h"
#include "settings/passwordthrottle.h"
#include "settings/schoolpassword.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"

#include <QPasswordDigestor>
#include <QtTest>
#include <QtWidgets>

// The school's password in the machine's settings: only ever a hash, the fixed password gone
// once it is set, and a file that cannot be trusted opening nothing.
class TestSchoolPassword : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acceptedPassword_data();
    void acceptedPassword();
    void storedAsHashOnly();
    void sameAsQtsDigestor_data();
    void sameAsQtsDigestor();
    void refusedSettings_data();
    void refusedSettings();
    void writeRefused_data();
    void writeRefused();
    void strongEnough_data();
    void strongEnough();
    void newPasswordDialog_data();
    void newPasswordDialog();
    void throttleDelays_data();
    void throttleDelays();

private:
    QString iniPath() const { return folder->filePath(QStringLiteral("etc/Skrivlo/Skrivlo.ini")); }
    void writeIni(const QByteArray &text);
    QByteArray iniBytes() const;

    std::unique_ptr<QTemporaryDir> folder;
};

void TestSchoolPassword::init()
{
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
}

void TestSchoolPassword::cleanup()
{
    disarmModalAnswerers();
    folder.reset();
}

void TestSchoolPassword::writeIni(const QByteArray &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(iniPath()).absolutePath()));
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray TestSchoolPassword::iniBytes() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSchoolPassword::acceptedPassword_data()
{
    QTest::addColumn<QString>("school"); // empty: none set
    QTest::addColumn<QByteArray>("otherKeys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QByteArray folderKey = "klassemappe=//server/skrivlo\n";
    QTest::newRow("no file: the fixed") << "" << QByteArray() << "kanelsnegle" << true;
    QTest::newRow("other keys only: the fixed") << "" << folderKey << "kanelsnegle" << true;
    QTest::newRow("other keys only: near miss") << "" << folderKey << "Kanelsnegle" << false;
    QTest::newRow("saved by Notepad: the fixed") << "" << QByteArray("\xef\xbb\xbf[General]\r\n" + folderKey) << "kanelsnegle"
                                                  << true;
    QTest::newRow("set: the fixed refused") << "Rødgrød med fløde" << folderKey << "kanelsnegle" << false;
    QTest::newRow("set: the school's") << "Rødgrød med fløde" << folderKey << "Rødgrød med fløde" << true;
    QTest::newRow("set: a blank after") << "Rødgrød med fløde" << QByteArray() << "Rødgrød med fløde " << false;
    QTest::newRow("set: other case") << "Rødgrød med fløde" << QByteArray() << "rødgrød med fløde" << false;
    QTest::newRow("set: empty") << "Rødgrød med fløde" << QByteArray() << "" << false;
    // å typed as a + a combining ring: the same letters, so the same password.
    QTest::newRow("set: decomposed å") << "blåbærgrød" << QByteArray() << QString::fromUtf8("bla\xcc\x8a" "bærgrød")
                                       << true;
    // Stored before there were class keys: it keeps working until IT sets it again.
    QTest::newRow("stored before: the school's") << "før:Rødgrød med fløde" << folderKey << "Rødgrød med fløde" << true;
    QTest::newRow("stored before: the fixed refused") << "før:Rødgrød med fløde" << folderKey << "kanelsnegle" << false;
}

void TestSchoolPassword::acceptedPassword()
{
    QFETCH(QString, school);
    QFETCH(QByteArray, otherKeys);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    if (!otherKeys.isEmpty())
        writeIni(otherKeys);
    QString reason;
    if (school.startsWith(QStringLiteral("før:"))) {
        school = school.mid(4);
        writeIni(otherKeys + "password=\"" + SchoolPassword::make(school, 1000).toLatin1() + "\"\n");
    } else if (!school.isEmpty()) {
        QVERIFY2(MachineSettings::writePassword(iniPath(), school, &reason), qPrintable(reason));
    }

    const MachineSettings settings = MachineSettings::read(iniPath());
    QVERIFY(!settings.isRefused());
    QCOMPARE(settings.hasSchoolPassword(), !school.isEmpty());
    QCOMPARE(settings.acceptsPassword(typed), accepted);
    if (!otherKeys.isEmpty())
        QVERIFY2(iniBytes().contains(otherKeys.trimmed()), iniBytes()); // IT's other settings kept
}

void TestSchoolPassword::storedAsHashOnly()
{
    // IT first typed a password into the file by hand; the command replaces it.
    writeIni("klassemappe=K:/dansk\n[Skrivlo]\nKodeord=hemmelig\n");
    const QString word = QStringLiteral("Æbleskiver i december");
    QString reason;
    QVERIFY2(MachineSettings::writePassword(iniPath(), word, &reason), qPrintable(reason));
    const QByteArray first = iniBytes();
    // Set again, by whoever knew the password: the same class key, wrapped anew.
    const std::shared_ptr<const ClassKey> key = MachineSettings::read(iniPath()).unlock(word).key;
    QVERIFY(key);
    QVERIFY2(MachineSettings::writePassword(iniPath(), word, &reason, key), qPrintable(reason));
    const QByteArray second = iniBytes();
    QCOMPARE(MachineSettings::read(iniPath()).unlock(word).key->id(), key->id());
    // The derivation costs an attacker at least 64 MiB for each guess.
    QVERIFY(KeyWrap::costOf(MachineSettings::read(iniPath()).schoolKeyLine()).memoryKiB >= 64 * 1024);

    for (const QByteArray &bytes : { first, second }) {
        QVERIFY(!bytes.contains(word.toUtf8()));
        QVERIFY(!bytes.contains(word.toUtf8().toBase64()));
        QVERIFY(!bytes.toLower().contains("hemmelig"));
        QVERIFY(bytes.contains("klassemappe=K:/dansk"));
        QVERIFY2(bytes.contains("password=\"skrivlo-noegle-1$"), bytes);
    }
    QVERIFY(first != second); // a fresh salt each time
    QVERIFY(MachineSettings::read(iniPath()).acceptsPassword(word));
    const auto permissions = QFileInfo(iniPath()).permissions();
    QVERIFY(permissions & QFile::ReadOther); // every user's program reads it

    // The one-way function is standard PBKDF2-HMAC-SHA256 (RFC 7914's vector, first 32 bytes),
    // so the stored lines can be checked by other tools and moved to a new format.
    QCOMPARE(SchoolPassword::make(QStringLiteral("passwd"), "salt", 1).section(QLatin1Char('$'), 3),
             QString::fromLatin1(QByteArray::fromHex("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc")
                                         .toBase64()));
}

// Lines stored before, by Qt's own PBKDF2, must go on matching.
void TestSchoolPassword::sameAsQtsDigestor_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QByteArray>("salt");
    QTest::addColumn<int>("iterations");
    QTest::newRow("one round") << "kanelsnegle" << QByteArray("0123456789abcdef") << 1;
    QTest::newRow("two rounds") << "kanelsnegle" << QByteArray("0123456789abcdef") << 2;
    QTest::newRow("Danish letters, binary salt") << "Rødgrød med fløde" << QByteArray::fromHex("00ff10e5f8c6d8c5") << 997;
    QTest::newRow("decomposed å") << QString::fromUtf8("bla\xcc\x8a" "bær") << QByteArray(24, '\0') << 50;
    QTest::newRow("empty word") << "" << QByteArray("saltsaltsaltsalt") << 3;
    QTest::newRow("the default rounds") << "Æbleskiver i december" << QByteArray("saltsaltsaltsalt")
                                        << SchoolPassword::defaultIterations;
}

void TestSchoolPassword::sameAsQtsDigestor()
{
    QFETCH(QString, word);
    QFETCH(QByteArray, salt);
    QFETCH(int, iterations);
    const QByteArray expected = QPasswordDigestor::deriveKeyPbkdf2(
            QCryptographicHash::Sha256, word.normalized(QString::NormalizationForm_C).toUtf8(), salt, iterations,
            SchoolPassword::hashBytes);
    QCOMPARE(SchoolPassword::make(word, salt, iterations).section(QLatin1Char('$'), 3),
             QString::fromLatin1(expected.toBase64()));
}

void TestSchoolPassword::refusedSettings_data()
{
    QTest::addColumn<QByteArray>("text"); // empty: a folder where the file should be
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("advice");
    const int handWritten = int(MachineSettings::State::HandWritten);
    const QString command = QStringLiteral("»skrivlo --ny-adgangskode«");
    const QString removeLine = QStringLiteral("fjern linjen");
    QTest::newRow("plain password") << QByteArray("password=hemmelig\n") << handWritten << removeLine;
    QTest::newRow("Danish key") << QByteArray("klassemappe=x\nadgangskode=hemmelig\n") << handWritten << removeLine;
    QTest::newRow("in a group") << QByteArray("[Skrivlo]\nPassword=hemmelig\n") << handWritten << removeLine;
    QTest::newRow("cut-off hash") << QByteArray("password=pbkdf2-sha256$100000$c2FsdHNhbHRzYWx0c2FsdA==$hemmelig\n")
                                  << handWritten << command;
    QTest::newRow("damaged") << QByteArray("[General\npassword=hemmelig\n") << int(MachineSettings::State::Damaged)
                             << QStringLiteral("Ret filen");
    QTest::newRow("unreadable") << QByteArray() << int(MachineSettings::State::Unreadable)
                                << QStringLiteral("ret til at læse");
}

void TestSchoolPassword::refusedSettings()
{
    QFETCH(QByteArray, text);
    QFETCH(int, state);
    QFETCH(QString, advice);
    if (text.isEmpty())
        QVERIFY(QDir().mkpath(iniPath())); // cannot be opened as a file, even by root
    else
        writeIni(text);

    const MachineSettings settings = MachineSettings::read(iniPath());
    QCOMPARE(int(settings.state()), state);
    QVERIFY(settings.isRefused());
    // Neither the fixed password nor the hand-written one opens anything.
    QVERIFY(!settings.acceptsPassword(QStringLiteral("kanelsnegle")));
    QVERIFY(!settings.acceptsPassword(QStringLiteral("hemmelig")));
    const QString problem = settings.problem();
    QVERIFY(problem.startsWith(QStringLiteral("Hent din lærer.")));
    QVERIFY2(problem.contains(QDir::toNativeSeparators(iniPath())), qPrintable(problem));
    QVERIFY2(problem.contains(QStringLiteral("skrivlo --ny-adgangskode")), qPrintable(problem));
    QVERIFY2(problem.contains(advice), qPrintable(problem));
    QVERIFY2(!problem.contains(QStringLiteral("hemmelig")), qPrintable(problem)); // never shown
}

void TestSchoolPassword::writeRefused_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no rights") << "under a file" << "administratorrettigheder";
    QTest::newRow("damaged file") << "damaged" << "ødelagte";
}

void TestSchoolPassword::writeRefused()
{
    QFETCH(QString, place);
    QFETCH(QString, reason);
    QString path = iniPath();
    const QByteArray damaged = "[General\nklassemappe=K:/dansk\n";
    if (place == QLatin1String("damaged")) {
        writeIni(damaged);
    } else {
        // A folder that cannot be made stands for one this user may not write, even as root.
        QFile blocker(folder->filePath(QStringLiteral("etc")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        path = folder->filePath(QStringLiteral("etc/Skrivlo.ini"));
    }
    QString said;
    QVERIFY(!MachineSettings::canWrite(path, &said));
    QVERIFY2(said.contains(reason) && said.contains(QDir::toNativeSeparators(path)), qPrintable(said));
    said.clear();
    QVERIFY(!MachineSettings::writePassword(path, QStringLiteral("Rødgrød med fløde"), &said));
    QVERIFY2(said.contains(reason), qPrintable(said));
    if (place == QLatin1String("damaged"))
        QCOMPARE(iniBytes(), damaged); // left as it was, for IT to mend

    // What IT sees when running the command there: the reason, and no dialog to type in vain.
    const auto box = answerMessageBox(QStringLiteral("OK"));
    QCOMPARE(NewPasswordDialog::run(path), 1);
    QVERIFY(box->seen);
    QCOMPARE(box->icon, QMessageBox::Critical);
    QVERIFY2(box->text.contains(reason), qPrintable(box->text));
}

// What a word list finds quickly is refused: under 12 characters and under three words.
void TestSchoolPassword::strongEnough_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("short single word") << "hemmelig" << false;
    QTest::newRow("11 characters") << "sommerfugle" << false;
    QTest::newRow("12 characters") << "sommerfugle1" << true;
    QTest::newRow("11 between blanks") << "   sommerfugle   " << false;
    QTest::newRow("three short words") << "ko på is" << true;
    QTest::newRow("three words with hyphens") << "ko-på-is" << true;
    QTest::newRow("two words under 12") << "rødgrød med" << false;
    QTest::newRow("two words padded to 12") << "ko        is" << false;
    QTest::newRow("three words, blanks doubled") << "  ko  på  " << false;
    // Letters, not bytes: æ, ø and å take two bytes in UTF-8, a decomposed å three.
    QTest::newRow("Danish letters: 11") << "æblegrødsår" << false;
    QTest::newRow("Danish letters: 12") << "blåbærgrøden" << true;
    QTest::newRow("decomposed å: 11") << QString::fromUtf8("æblegrødsa\xcc\x8ar") << false;
}

void TestSchoolPassword::strongEnough()
{
    QFETCH(QString, word);
    QFETCH(bool, accepted);
    const QString objection = PasswordStrength::objection(word);
    QCOMPARE(objection.isEmpty(), accepted);
    if (!accepted)
        QVERIFY2(objection.contains(QStringLiteral("mindst 12 tegn")) && objection.contains(QStringLiteral("tre ord")),
                 qPrintable(objection));
}

void TestSchoolPassword::newPasswordDialog_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("objection"); // empty: saved
    QTest::addColumn<QString>("current");   // "set before:typed": a school password set before, and what is typed for it
    QTest::newRow("saved") << "Rødgrød med fløde" << "Rødgrød med fløde" << "" << QString();
    // Changed: the class key stays, wrapped under the new password, so every result still opens.
    QTest::newRow("changed, the current one right") << "Æbleskiver i december" << "Æbleskiver i december" << ""
                                                    << "Rødgrød med fløde:Rødgrød med fløde";
    QTest::newRow("changed, the current one wrong") << "Æbleskiver i december" << "Æbleskiver i december"
                                                    << "nuværende password er forkert" << "Rødgrød med fløde:rødgrød";
    QTest::newRow("empty") << "" << "" << "Skriv et password." << QString();
    QTest::newRow("short") << "hemmeligt" << "hemmeligt" << "Vælg et længere password" << QString();
    QTest::newRow("two words") << "rødgrød med" << "rødgrød med" << "Vælg et længere password" << QString();
    QTest::newRow("not the same") << "Rødgrød med fløde" << "Rødgrød med fløden" << "ikke det samme" << QString();
    QTest::newRow("the fixed") << "kanelsnegle" << "kanelsnegle" << "det faste" << QString();
}

void TestSchoolPassword::newPasswordDialog()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, objection);
    QFETCH(QString, current);
    QString keyBefore;
    QString reason;
    if (!current.isEmpty()) {
        QVERIFY(MachineSettings::writePassword(iniPath(), current.section(QLatin1Char(':'), 0, 0), &reason));
        keyBefore = KeyWrap::keyIdOf(MachineSettings::read(iniPath()).schoolKeyLine());
    }
    const QByteArray before = iniBytes();
    NewPasswordDialog dialog(iniPath());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (!current.isEmpty())
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("currentEdit")), current.section(QLatin1Char(':'), 1));
    auto *firstEdit = dialog.findChild<QLineEdit *>(QStringLiteral("firstEdit"));
    auto *secondEdit = dialog.findChild<QLineEdit *>(QStringLiteral("secondEdit"));
    auto *message = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
    QVERIFY(firstEdit && secondEdit && message);
    QCOMPARE(secondEdit->echoMode(), QLineEdit::Password);
    QVERIFY(firstEdit->hasFocus() || !current.isEmpty());
    QTest::keyClicks(firstEdit, first);
    QTest::keyClicks(secondEdit, second);
    QTest::keyClick(secondEdit, Qt::Key_Return); // Enter presses "Gem"

    const MachineSettings settings = MachineSettings::read(iniPath());
    if (objection.isEmpty()) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(settings.acceptsPassword(first));
        QVERIFY(!settings.acceptsPassword(QStringLiteral("kanelsnegle")));
        if (!current.isEmpty()) {
            QVERIFY(!settings.acceptsPassword(current.section(QLatin1Char(':'), 0, 0)));
            QCOMPARE(KeyWrap::keyIdOf(settings.schoolKeyLine()), keyBefore);
        }
    } else {
        QVERIFY(dialog.isVisible());
        QVERIFY2(message->text().contains(objection), qPrintable(message->text()));
        QCOMPARE(iniBytes(), before); // nothing written
        QVERIFY(dialog.focusWidget() && dialog.focusWidget()->inherits("QLineEdit"));
    }
}

void TestSchoolPassword::throttleDelays_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("delayMs");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("3rd try") << 2 << 0;
    QTest::newRow("4th try") << 3 << 1000;
    QTest::newRow("5th try") << 4 << 2000;
    QTest::newRow("6th try") << 5 << 4000;
    QTest::newRow("8th try") << 7 << 16000;
    QTest::newRow("9th try: the longest") << 8 << 30000;
    QTest::newRow("a thousand") << 1000 << 30000;
}

void TestSchoolPassword::throttleDelays()
{
    QFETCH(int, failures);
    QFETCH(int, delayMs);
    QCOMPARE(PasswordThrottle::delayMs(failures), delayMs);

    PasswordThrottle throttle;
    for (int i = 0; i < failures && i < 20; ++i)
        throttle.record(false);
    QCOMPARE(throttle.nextDelayMs(), PasswordThrottle::delayMs(qMin(failures, 20)));
    throttle.record(true); // the right one starts the count again
    QCOMPARE(throttle.nextDelayMs(), 0);
}

SKRIVLO_TEST_MAIN(TestSchoolPassword)
#include "tst_schoolpassword.moc"
