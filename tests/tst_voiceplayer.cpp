#include "recordings/recordingcheck.h"
#include "tests/support/wavfile.h"
#include "widgets/voiceplayer.h"

#include <QtTest>

// The player's own state machine; on a machine without sound every play must stay silent
// and never block.
class TestVoicePlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stopBeforePlayDoesNothing();
    void stopTwiceStopsOnce();
    void playReplacesPlay();
    void missingFileStaysSilentAndLaterPlaysWork();
    void playAfterStopStartsAfresh();
    void isTheProgramsPlayerWhileItLives();
    void brokenFileIsSkippedAndNeverBlocks_data();
    void brokenFileIsSkippedAndNeverBlocks();

private:
    QTemporaryDir dir;
    QString wavPath;
};

void TestVoicePlayer::initTestCase()
{
    QVERIFY(dir.isValid());
    wavPath = dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(WavFile::write(wavPath, WavFile::tone(22050)));
}

void TestVoicePlayer::stopBeforePlayDoesNothing()
{
    VoicePlayer player;
    player.stop();
    QVERIFY(player.isEmpty());
    QCOMPARE(player.stopCount(), 0);
}

void TestVoicePlayer::stopTwiceStopsOnce()
{
    VoicePlayer player;
    player.play(wavPath);
    player.stop();
    player.stop();
    QVERIFY(player.isStopped());
    QCOMPARE(player.stopCount(), 1);
}

void TestVoicePlayer::playReplacesPlay()
{
    VoicePlayer player;
    player.play(wavPath);
    player.play(dir.filePath(QStringLiteral("other.wav")));
    QCOMPARE(player.currentPath(), dir.filePath(QStringLiteral("other.wav")));
    QCOMPARE(player.playCount(), 2);
    QVERIFY(!player.isStopped());
    QVERIFY(!player.isEmpty());
}

void TestVoicePlayer::missingFileStaysSilentAndLaterPlaysWork()
{
    VoicePlayer player;
    QElapsedTimer clock;
    clock.start();
    player.play(QStringLiteral("sounds/does-not-exist.wav"));
    QCoreApplication::processEvents();
    player.play(wavPath);
    player.stop();
    QVERIFY(clock.elapsed() < 2000); // never waits for the sound device or the file
    QVERIFY(player.isStopped());
    QCOMPARE(player.currentPath(), wavPath);
}

void TestVoicePlayer::playAfterStopStartsAfresh()
{
    VoicePlayer player;
    player.play(wavPath);
    player.stop();
    player.play(wavPath);
    QVERIFY(!player.isStopped());
    player.stop();
    QCOMPARE(player.stopCount(), 2);
}

// Main makes the player after the application and lets it go before; while it lives it is
// the one the pages reach, and afterwards none can reach it.
void TestVoicePlayer::isTheProgramsPlayerWhileItLives()
{
    QVERIFY(!voicePlayer);
    {
        VoicePlayer player;
        QCOMPARE(voicePlayer, &player);
        voicePlayer->play(wavPath);
        QCOMPARE(player.playCount(), 1);
    }
    QVERIFY(!voicePlayer);
}

void TestVoicePlayer::brokenFileIsSkippedAndNeverBlocks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const WavFile::Broken &broken : WavFile::broken())
        QTest::newRow(broken.name) << broken.bytes;
}

void TestVoicePlayer::brokenFileIsSkippedAndNeverBlocks()
{
    // Handed to the sound backend, each of these stalled the next play for good.
    QFETCH(QByteArray, bytes);
    const QString path = dir.filePath(QStringLiteral("broken.wav"));
    QVERIFY(WavFile::write(path, bytes));
    QVERIFY(!RecordingCheck::problem(path).isEmpty());
    {
        VoicePlayer player;
        player.play(wavPath);
        player.play(path);
        QCOMPARE(player.skipCount(), 1);
        QCoreApplication::processEvents();
        player.play(path);
        player.play(wavPath);
        QCOMPARE(player.skipCount(), 2);
        QCOMPARE(player.playCount(), 4);
        player.stop();
        QVERIFY(player.isStopped());
    } // letting go of the player must not wait for the backend either
    QVERIFY(QFile::remove(path));
}

QTEST_MAIN(TestVoicePlayer)
#include "tst_voiceplayer.moc"
