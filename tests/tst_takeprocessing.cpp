#include "recordings/recordingcheck.h"
#include "studio/takeprocessing.h"
#include "studio/takerecorder.h"

#include <QAudioFormat>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

// A take as the microphone delivers it, in the formats devices offer, comes out as a
// trimmed, levelled 16-bit mono WAV that the program plays and its start-up check passes;
// the recorder hands it over once, when the teacher stops or the take has run too long, and
// without a microphone it says so.
class TestTakeProcessing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void takeBecomesRecording_data();
    void takeBecomesRecording();
    void recorderHandsOverTake_data();
    void recorderHandsOverTake();
    void takeLeftRunningStopsItself();
    void withoutMicrophone();
};

// A microphone stream the test fills: what it is given is there to read at once.
class FakeMicrophone : public QIODevice
{
    Q_OBJECT

public:
    FakeMicrophone() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return pending.size() + QIODevice::bytesAvailable(); }

    void hear(const QByteArray &bytes)
    {
        pending += bytes;
        emit readyRead();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, pending.size());
        std::memcpy(data, pending.constData(), size_t(n));
        pending.remove(0, n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray pending;
};

namespace {

constexpr double quietBefore = 0.6, speech = 1.0, quietAfter = 0.8;

// Room noise, a second of "speech" (a swelling tone), room noise; every channel alike.
QByteArray deviceBytes(const QAudioFormat &format)
{
    const int rate = format.sampleRate();
    const int frames = int((quietBefore + speech + quietAfter) * rate);
    QByteArray raw(qsizetype(frames) * format.bytesPerFrame(), '\0');
    quint32 noise = 12345;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / rate;
        noise = noise * 1103515245u + 12345u;
        double value = (int((noise >> 16) % 1000) - 500) / 500.0 * 0.002;
        if (t >= quietBefore && t < quietBefore + speech)
            value += 0.3 * std::sin(M_PI * (t - quietBefore) / speech) * std::sin(2 * M_PI * 220 * t);
        for (int c = 0; c < format.channelCount(); ++c) {
            char *at = raw.data() + (qsizetype(f) * format.channelCount() + c) * format.bytesPerSample();
            switch (format.sampleFormat()) {
            case QAudioFormat::UInt8: *reinterpret_cast<quint8 *>(at) = quint8(128 + std::lround(value * 127)); break;
            case QAudioFormat::Int16: qToLittleEndian(qint16(std::lround(value * 32767)), at); break;
            case QAudioFormat::Int32: qToLittleEndian(qint32(std::lround(value * 2147483647.0)), at); break;
            default: { const float v = float(value); std::memcpy(at, &v, sizeof v); }
            }
        }
    }
    return raw;
}

QAudioFormat deviceFormat(QAudioFormat::SampleFormat sampleFormat, int channels, int rate)
{
    QAudioFormat format;
    format.setSampleFormat(sampleFormat);
    format.setChannelCount(channels);
    format.setSampleRate(rate);
    return format;
}

} // namespace

void TestTakeProcessing::initTestCase()
{
    // The machine's own sound server, if any, must not decide what the tests find.
    qputenv("PULSE_SERVER", QByteArrayLiteral("unix:/nonexistent/skrivlo-test"));
}

void TestTakeProcessing::takeBecomesRecording_data()
{
    QTest::addColumn<int>("sampleFormat");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("savedRate");

    QTest::newRow("16 bit mono 22050") << int(QAudioFormat::Int16) << 1 << 22050 << 22050;
    QTest::newRow("16 bit stereo 44100") << int(QAudioFormat::Int16) << 2 << 44100 << 44100;
    QTest::newRow("float stereo 96000") << int(QAudioFormat::Float) << 2 << 96000 << 48000;
    QTest::newRow("32 bit mono 48000") << int(QAudioFormat::Int32) << 1 << 48000 << 48000;
    QTest::newRow("8 bit mono 8000") << int(QAudioFormat::UInt8) << 1 << 8000 << 8000;
}

void TestTakeProcessing::takeBecomesRecording()
{
    QFETCH(int, sampleFormat);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, savedRate);
    const QAudioFormat format = deviceFormat(QAudioFormat::SampleFormat(sampleFormat), channels, rate);

    const TakeProcessing::Take take = TakeProcessing::fromDevice(deviceBytes(format), format);
    QCOMPARE(take.rate, savedRate);
    QVERIFY(std::abs(take.seconds() - (quietBefore + speech + quietAfter)) < 0.01);
    QVERIFY(!TakeProcessing::isSilent(take));
    TakeProcessing::Take noiseOnly = take;
    noiseOnly.samples = take.samples.mid(0, int(quietBefore * savedRate * 0.9));
    QVERIFY(TakeProcessing::isSilent(noiseOnly));

    // The speech with a short lead-in and tail: the room noise around it is gone.
    const TakeProcessing::Take trimmed = TakeProcessing::trimmed(take);
    QVERIFY2(trimmed.seconds() > speech && trimmed.seconds() < speech + 0.5,
             qPrintable(QString::number(trimmed.seconds())));
    QCOMPARE(trimmed.samples.first(), qint16(0));

    const TakeProcessing::Take levelled = TakeProcessing::levelled(trimmed);
    const double peak = RecordingCheck::peak(levelled.samples);
    QVERIFY2(peak > 0.86 && peak < 0.9, qPrintable(QString::number(peak)));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("17.wav"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TakeProcessing::wavBytes(levelled));
    file.close();
    const RecordingCheck::Wav wav = RecordingCheck::read(path, true);
    QCOMPARE(wav.channels, quint16(1));
    QCOMPARE(wav.bits, quint16(16));
    QCOMPARE(int(wav.rate), savedRate);
    QCOMPARE(wav.samples, levelled.samples);
    QCOMPARE(RecordingCheck::problem(path), QString());
}

void TestTakeProcessing::recorderHandsOverTake_data()
{
    QTest::addColumn<int>("sampleFormat");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("speaking");

    QTest::newRow("speech, 16 bit mono") << int(QAudioFormat::Int16) << 1 << 22050 << true;
    QTest::newRow("speech, float stereo") << int(QAudioFormat::Float) << 2 << 48000 << true;
    QTest::newRow("room noise only") << int(QAudioFormat::Int16) << 1 << 22050 << false;
}

void TestTakeProcessing::recorderHandsOverTake()
{
    QFETCH(int, sampleFormat);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(bool, speaking);
    const QAudioFormat format = deviceFormat(QAudioFormat::SampleFormat(sampleFormat), channels, rate);
    QByteArray sound = deviceBytes(format);
    if (!speaking)
        sound.truncate(format.bytesForDuration(qint64(quietBefore * 0.9 * 1000000)));

    TakeRecorder recorder;
    QSignalSpy started(&recorder, &TakeRecorder::recordingStarted);
    QSignalSpy levels(&recorder, &TakeRecorder::levelChanged);
    QSignalSpy ready(&recorder, &TakeRecorder::takeReady);
    QSignalSpy silent(&recorder, &TakeRecorder::nothingHeard);
    FakeMicrophone microphone;
    recorder.capture(&microphone, format);
    QCOMPARE(started.count(), 1);
    QVERIFY(recorder.isRecording());
    // In tenths of a second, as a device delivers it.
    const qsizetype piece = format.bytesForDuration(100000);
    for (qsizetype at = 0; at < sound.size(); at += piece)
        microphone.hear(sound.mid(at, piece));
    QCOMPARE(ready.count() + silent.count(), 0);
    int loudest = 0;
    for (const QList<QVariant> &level : std::as_const(levels))
        loudest = std::max(loudest, level.at(0).toInt());
    // The swelling tone peaks at 0.3 of full scale, whatever the device's format.
    QVERIFY2(speaking ? loudest >= 28 && loudest <= 31 : loudest <= 1, qPrintable(QString::number(loudest)));

    recorder.stop();
    QVERIFY(!recorder.isRecording());
    QCOMPARE(levels.last().at(0).toInt(), 0);
    QCOMPARE(ready.count(), speaking ? 1 : 0);
    QCOMPARE(silent.count(), speaking ? 0 : 1);
    if (speaking) {
        const auto take = ready.first().at(0).value<TakeProcessing::Take>();
        QCOMPARE(take.rate, std::min(rate, 48000));
        QVERIFY2(take.seconds() > speech && take.seconds() < speech + 0.5, qPrintable(QString::number(take.seconds())));
        const double peak = RecordingCheck::peak(take.samples);
        QVERIFY2(peak > 0.86 && peak < 0.9, qPrintable(QString::number(peak)));
    }

    // Once stopped the stream is no longer the recorder's, and a second stop hands over nothing.
    microphone.hear(sound);
    recorder.stop();
    QCOMPARE(ready.count() + silent.count(), 1);
    QVERIFY(!recorder.isRecording());
}

void TestTakeProcessing::takeLeftRunningStopsItself()
{
    const QAudioFormat format = deviceFormat(QAudioFormat::Int16, 1, 8000);
    QByteArray second(format.bytesForDuration(1000000), '\0');
    for (int i = 0; i < format.sampleRate(); ++i)
        qToLittleEndian(qint16(i % 40 < 20 ? 8000 : -8000), second.data() + 2 * i);

    TakeRecorder recorder;
    QSignalSpy ready(&recorder, &TakeRecorder::takeReady);
    FakeMicrophone microphone;
    recorder.capture(&microphone, format);
    for (int s = 0; s < TakeRecorder::longestTakeSeconds; ++s)
        microphone.hear(second);
    QVERIFY2(recorder.isRecording() && ready.isEmpty(), "stopped before the longest take was reached");
    microphone.hear(second);
    QVERIFY(!recorder.isRecording());
    QCOMPARE(ready.count(), 1);
    const auto take = ready.first().at(0).value<TakeProcessing::Take>();
    QVERIFY2(take.seconds() > TakeRecorder::longestTakeSeconds, qPrintable(QString::number(take.seconds())));

    microphone.hear(second);
    recorder.stop();
    QCOMPARE(ready.count(), 1);
}

void TestTakeProcessing::withoutMicrophone()
{
    if (TakeRecorder::hasMicrophone())
        QSKIP("this sound backend finds a microphone even without a sound server");
    TakeRecorder recorder;
    QSignalSpy started(&recorder, &TakeRecorder::recordingStarted);
    QSignalSpy failed(&recorder, &TakeRecorder::failed);
    QSignalSpy ready(&recorder, &TakeRecorder::takeReady);
    QSignalSpy silent(&recorder, &TakeRecorder::nothingHeard);

    recorder.stop(); // before any start: nothing to stop
    recorder.start();
    QCOMPARE(started.count(), 0);
    QCOMPARE(failed.count(), 1);
    QVERIFY2(failed.first().at(0).toString().startsWith(QStringLiteral("Mikrofonen kan ikke bruges")),
             qPrintable(failed.first().at(0).toString()));
    QVERIFY(!recorder.isRecording());
    recorder.stop();
    QCOMPARE(ready.count() + silent.count(), 0);
}

QTEST_GUILESS_MAIN(TestTakeProcessing)
#include "tst_takeprocessing.moc"
