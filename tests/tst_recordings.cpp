#include "manuscript.h"

#include <QtTest>

#include <cmath>

// The recordings the build puts in build/sounds: every one the manuscript names must be a
// WAV that QSoundEffect plays on Linux and Windows, hold speech, and be neither cut off
// nor out of step with its text.
class TestRecordings : public QObject
{
    Q_OBJECT

private slots:
    void recording_data();
    void recording();
};

namespace {

struct Wav
{
    QString error;
    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    QVector<qint16> samples;
};

Wav readWav(const QString &path)
{
    Wav wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        wav.error = QStringLiteral("cannot open: ") + file.errorString();
        return wav;
    }
    const QByteArray bytes = file.readAll();
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    auto tag = [&in]() {
        char text[4];
        return in.readRawData(text, 4) == 4 ? QByteArray(text, 4) : QByteArray();
    };

    quint32 riffSize = 0;
    if (tag() != "RIFF")
        return wav.error = QStringLiteral("no RIFF header"), wav;
    in >> riffSize;
    // A header written for streaming carries a made-up size, and QSoundEffect never loads it.
    if (riffSize != quint32(bytes.size() - 8))
        return wav.error = QStringLiteral("RIFF size %1 for a file of %2 bytes").arg(riffSize).arg(bytes.size()), wav;
    if (tag() != "WAVE")
        return wav.error = QStringLiteral("not WAVE"), wav;

    bool haveFormat = false;
    while (!in.atEnd()) {
        const QByteArray id = tag();
        quint32 size = 0;
        in >> size;
        const qint64 start = in.device()->pos();
        if (in.status() != QDataStream::Ok || start + size > bytes.size())
            return wav.error = QStringLiteral("chunk \"%1\" runs past the end").arg(QString::fromLatin1(id)), wav;
        if (id == "fmt ") {
            quint32 byteRate = 0;
            quint16 blockAlign = 0;
            in >> wav.format >> wav.channels >> wav.rate >> byteRate >> blockAlign >> wav.bits;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || wav.bits != 16)
                return wav.error = QStringLiteral("no 16-bit format before the data"), wav;
            wav.samples.resize(size / 2);
            for (qint16 &sample : wav.samples)
                in >> sample;
        }
        in.device()->seek(start + size + (size & 1));
    }
    if (wav.samples.isEmpty())
        wav.error = QStringLiteral("no data chunk");
    return wav;
}

double peak(const QVector<qint16> &samples, int from = 0)
{
    int result = 0;
    for (int i = from; i < samples.size(); ++i)
        result = std::max(result, std::abs(int(samples[i])));
    return result / 32768.0;
}

double rms(const QVector<qint16> &samples)
{
    double sum = 0;
    for (qint16 sample : samples)
        sum += double(sample) * sample;
    return std::sqrt(sum / samples.size()) / 32768.0;
}

} // namespace

void TestRecordings::recording_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("guidance");
    QTest::addColumn<int>("characters");

    for (const Manuscript::Recording &recording : Manuscript::recordings()) {
        const bool guidance = !recording.fileName.front().isDigit();
        QTest::newRow(qPrintable(recording.fileName))
                << recording.fileName << guidance << int(recording.text().size());
    }
}

void TestRecordings::recording()
{
    QFETCH(QString, fileName);
    QFETCH(bool, guidance);
    QFETCH(int, characters);

    const Wav wav = readWav(QStringLiteral(SKRIVLO_BUILD_DIR "/sounds/") + fileName);
    QVERIFY2(wav.error.isEmpty(), qPrintable(wav.error));

    // What QSoundEffect decodes on both systems.
    QCOMPARE(wav.format, quint16(1));
    QCOMPARE(wav.channels, quint16(1));
    QCOMPARE(wav.bits, quint16(16));
    QVERIFY2(wav.rate >= 8000 && wav.rate <= 48000, qPrintable(QString::number(wav.rate)));

    QVERIFY2(peak(wav.samples) > 0.25, qPrintable(QStringLiteral("peak %1").arg(peak(wav.samples))));
    QVERIFY2(rms(wav.samples) > 0.02, qPrintable(QStringLiteral("RMS %1").arg(rms(wav.samples))));
    // Speech from the very first sample was cut at the start: a sound device that wakes up
    // slowly would eat the first syllable. Speech that runs to the very end was cut off.
    QVERIFY2(peak(wav.samples.mid(0, int(wav.rate / 100))) < 0.05, "loud from the first sample: cut at the start");
    const int tail = int(wav.rate / 20);
    QVERIFY2(peak(wav.samples, wav.samples.size() - tail) < 0.05, "loud to the last sample: cut off");

    const double seconds = double(wav.samples.size()) / wav.rate;
    if (guidance)
        QVERIFY2(seconds >= 5 && seconds <= 180, qPrintable(QStringLiteral("%1 s").arg(seconds)));
    else
        QVERIFY2(seconds >= 2 && seconds <= 20, qPrintable(QStringLiteral("%1 s").arg(seconds)));
    // About as long as its text takes to say, slowly: a script that broke off early or a
    // recording of some other text falls outside.
    const double perCharacter = seconds / characters;
    QVERIFY2(perCharacter >= 0.04 && perCharacter <= 0.3,
             qPrintable(QStringLiteral("%1 s for %2 characters").arg(seconds).arg(characters)));
}

QTEST_GUILESS_MAIN(TestRecordings)
#include "tst_recordings.moc"
