#include "recordings/manuscript.h"
#include "recordings/recordingcheck.h"
#include "recordings/recordingfolders.h"
#include "recordings/recordingsurvey.h"
#include "startup/recordingnotice.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "tests/support/wavfile.h"
#include "widgets/voiceplayer.h"

#include <QtTest>

// The check after the password: the teacher hears of every recording that is missing or
// would not play, decides whether to go on, and learns where the program looked when it
// found none at all.
class TestRecordingNotice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void missingAndBrokenAreNamed_data();
    void missingAndBrokenAreNamed();
    void noneFoundSaysSilentAndWhere();
    void checkOfAllRecordings();

private:
    QTemporaryDir work;
    QString startDir;
};

void TestRecordingNotice::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QDir(RecordingFolders::teacherFolder()).removeRecursively();
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("sounds")));
    const QDir built(QStringLiteral(SKRIVLO_BUILD_DIR "/sounds"));
    for (const Manuscript::Recording &recording : Manuscript::recordings())
        QVERIFY(QFile::copy(built.filePath(recording.fileName), work.filePath(QStringLiteral("sounds/") + recording.fileName)));
    startDir = QDir::currentPath();
    QDir::setCurrent(work.path());
}

void TestRecordingNotice::missingAndBrokenAreNamed_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("early"); // checked on a thread while the password is typed
    QTest::newRow("go on") << QStringLiteral("Fortsæt") << true << false;
    QTest::newRow("stop") << QStringLiteral("Luk programmet") << false << false;
    QTest::newRow("Escape stops") << QStringLiteral("Escape") << false << false;
    QTest::newRow("checked early, stop") << QStringLiteral("Luk programmet") << false << true;
}

void TestRecordingNotice::missingAndBrokenAreNamed()
{
    QFETCH(QString, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, early);
    QFile::remove(QStringLiteral("sounds/3.wav"));
    QVERIFY(WavFile::write(QStringLiteral("sounds/17.wav"), WavFile::broken().at(2).bytes));
    // Where the working folder has none, the teacher's own is found and checked.
    QFile::remove(QStringLiteral("sounds/dik1help.wav"));
    QVERIFY(QDir().mkpath(RecordingFolders::teacherFolder()));
    QVERIFY(WavFile::write(QDir(RecordingFolders::teacherFolder()).filePath(QStringLiteral("dik1help.wav")),
                           WavFile::tone(22050)));

    RecordingSurvey survey;
    if (early)
        survey.start();
    const auto box = answerMessageBox(answer);
    QCOMPARE(RecordingNotice::checkAndAsk(survey), goesOn);
    QVERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Optagelser mangler"));
    QVERIFY2(box->text.startsWith(QStringLiteral("2 af programmets 84 optagelser kan ikke afspilles:\n\n"
                                                 "  3.wav mangler\n  17.wav er afbrudt")),
             qPrintable(box->text));
    QVERIFY(!box->text.contains(QStringLiteral("dik1help")));
}

void TestRecordingNotice::noneFoundSaysSilentAndWhere()
{
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    QDir(RecordingFolders::teacherFolder()).removeRecursively();
    const auto box = answerMessageBox(QStringLiteral("Fortsæt"));
    QVERIFY(RecordingNotice::checkAndAsk());
    QVERIFY(box->text.contains(QStringLiteral("ingen af sine 84 optagelser, så diktaterne bliver uden lyd")));
    for (const QString &folder : RecordingFolders::searchPath())
        QVERIFY2(box->text.contains(folder), qPrintable(folder));
    QDir::setCurrent(work.path());
}

void TestRecordingNotice::checkOfAllRecordings()
{
    // How long the teacher waits after the password (it must stay well under a second).
    QStringList names;
    for (const Manuscript::Recording &recording : Manuscript::recordings())
        names.append(recording.fileName);
    QDir::setCurrent(QStringLiteral(SKRIVLO_BUILD_DIR));
    QBENCHMARK {
        QVERIFY(RecordingCheck::findProblems(names).isEmpty());
    }
    QDir::setCurrent(startDir);
}

SKRIVLO_TEST_MAIN(TestRecordingNotice)
#include "tst_recordingnotice.moc"
