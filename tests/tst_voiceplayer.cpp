#include "voiceplayer.h"

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
    void letsGoOfTheSoundWhenTheApplicationQuits();

private:
    QTemporaryDir dir;
    QString wavPath;
};

namespace {

// A short, valid 16-bit mono PCM file.
QByteArray makeWav(int samples)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = samples * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    for (int i = 0; i < samples; ++i)
        out << qint16((i % 50) * 400 - 10000);
    return data;
}

} // namespace

void TestVoicePlayer::initTestCase()
{
    QVERIFY(dir.isValid());
    wavPath = dir.filePath(QStringLiteral("tone.wav"));
    QFile file(wavPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(makeWav(22050));
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

void TestVoicePlayer::letsGoOfTheSoundWhenTheApplicationQuits()
{
    // The program-wide player outlives the application; its sound must be gone before that.
    VoicePlayer player;
    player.play(wavPath);
    QVERIFY(!player.isEmpty());
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    QVERIFY(player.isEmpty());
    player.stop(); // still safe afterwards
    QCOMPARE(player.stopCount(), 0);
}

QTEST_MAIN(TestVoicePlayer)
#include "tst_voiceplayer.moc"
