#include "recordings/recordingcheck.h"
#include "studio/takeprocessing.h"

#include <QAudioFormat>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>

// A take as the microphone delivers it, in the formats devices offer, comes out as a
// trimmed, levelled 16-bit mono WAV that the program plays and its start-up check passes.
class TestTakeProcessing : public QObject
{
    Q_OBJECT

private slots:
    void takeBecomesRecording_data();
    void takeBecomesRecording();
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

} // namespace

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
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::SampleFormat(sampleFormat));
    format.setChannelCount(channels);
    format.setSampleRate(rate);

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

QTEST_GUILESS_MAIN(TestTakeProcessing)
#include "tst_takeprocessing.moc"
