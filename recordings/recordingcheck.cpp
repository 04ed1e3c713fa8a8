#include "recordings/recordingcheck.h"

#include "recordings/recordingfolders.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecordingCheck", text);
}

// A data chunk is searched for no further than this into the file; real headers are small.
constexpr qint64 headerLimit = 1 << 16;

// Reads up to wanted samples at the file's position into out, 8-bit ones widened; how many came.
int readChunk(QFile &file, quint16 bits, qint16 *out, int wanted)
{
    if (bits == 8) {
        const QByteArray bytes = file.read(wanted);
        for (int i = 0; i < bytes.size(); ++i)
            out[i] = qint16((int(quint8(bytes[i])) - 128) << 8);
        return int(bytes.size());
    }
    const int got = int(std::max<qint64>(file.read(reinterpret_cast<char *>(out), qint64(wanted) * 2), 0) / 2);
    qFromLittleEndian<qint16>(out, got, out);
    return got;
}

QVector<qint16> readSamples(QFile &file, const RecordingCheck::Wav &wav)
{
    QVector<qint16> samples;
    if (!file.seek(wav.dataOffset))
        return samples;
    samples.resize(int(wav.dataBytes / (wav.bits / 8)));
    samples.resize(readChunk(file, wav.bits, samples.data(), int(samples.size())));
    return samples;
}

// What the check needs of a recording's sound. Read in pieces, so that checking every
// recording at start never holds a whole one in memory.
struct Loudness
{
    int peak = 0;
    qint64 sumOfSquares = 0; // exact
    qint64 count = 0;
    int tailPeak = 0; // of the last tailSamples
};

Loudness measure(QFile &file, const RecordingCheck::Wav &wav, qint64 tailSamples)
{
    Loudness loudness;
    if (!file.seek(wav.dataOffset))
        return loudness;
    const qint64 total = wav.dataBytes / (wav.bits / 8);
    const qint64 tailStart = total - tailSamples;
    QVector<qint16> chunk(1 << 15);
    while (loudness.count < total) {
        const int wanted = int(std::min<qint64>(chunk.size(), total - loudness.count));
        const int got = readChunk(file, wav.bits, chunk.data(), wanted);
        if (got == 0)
            break;
        // Read-only and without a test per sample for the tail: the check reads every
        // recording while the password is typed, and the window is built beside it.
        const qint16 *samples = chunk.constData();
        int peak = loudness.peak;
        qint64 sumOfSquares = 0;
        for (int i = 0; i < got; ++i) {
            const int level = std::abs(int(samples[i]));
            peak = std::max(peak, level);
            sumOfSquares += qint64(level) * level;
        }
        loudness.peak = peak;
        loudness.sumOfSquares += sumOfSquares;
        for (qint64 i = std::max<qint64>(0, tailStart - loudness.count); i < got; ++i)
            loudness.tailPeak = std::max(loudness.tailPeak, std::abs(int(samples[i])));
        loudness.count += got;
    }
    return loudness;
}

} // namespace

namespace RecordingCheck {

double Wav::seconds() const
{
    const qint64 bytesPerSecond = qint64(rate) * channels * (bits / 8);
    return bytesPerSecond > 0 ? double(dataBytes) / bytesPerSecond : 0.0;
}

Wav read(const QString &path, bool withSamples)
{
    Wav wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        wav.error = tr("kan ikke læses (%1)").arg(file.errorString());
        return wav;
    }
    const qint64 fileSize = file.size();
    QDataStream in(file.read(std::min(fileSize, headerLimit)));
    in.setByteOrder(QDataStream::LittleEndian);
    auto tag = [&in]() {
        char text[4];
        return in.readRawData(text, 4) == 4 ? QByteArray(text, 4) : QByteArray();
    };
    auto fail = [&wav](const QString &error) {
        wav.error = error;
        return wav;
    };

    if (fileSize == 0)
        return fail(tr("er tom (0 byte)"));
    quint32 riffSize = 0;
    if (tag() != "RIFF")
        return fail(tr("er ikke en WAV-fil"));
    in >> riffSize;
    // A header written for streaming or a file cut short claims more than there is.
    if (riffSize != quint32(fileSize - 8))
        return fail(tr("er afbrudt: filen har %1 byte, men skulle have %2").arg(fileSize).arg(qint64(riffSize) + 8));
    if (tag() != "WAVE")
        return fail(tr("er ikke en WAV-fil"));

    bool haveFormat = false;
    while (!in.atEnd()) {
        const QByteArray id = tag();
        quint32 size = 0;
        in >> size;
        if (in.status() != QDataStream::Ok)
            break;
        const qint64 start = in.device()->pos();
        if (start + qint64(size) > fileSize)
            return fail(tr("er afbrudt: der mangler lyd i slutningen"));
        if (id == "fmt ") {
            quint32 byteRate = 0;
            quint16 blockAlign = 0;
            in >> wav.format >> wav.channels >> wav.rate >> byteRate >> blockAlign >> wav.bits;
            haveFormat = true;
        } else if (id == "data") {
            wav.dataOffset = start;
            wav.dataBytes = size;
            break;
        }
        in.device()->seek(start + size + (size & 1));
    }
    if (!haveFormat)
        return fail(tr("siger ikke, hvilket lydformat den har"));
    if (wav.format != 1 || (wav.bits != 8 && wav.bits != 16) || wav.channels < 1 || wav.channels > 2
        || wav.rate < 8000 || wav.rate > 48000) {
        return fail(tr("har et lydformat, programmet ikke kan afspille (%1 bit, %3 Hz, %2 kanaler); gem den som 16 bit PCM")
                    .arg(wav.bits).arg(wav.channels).arg(wav.rate));
    }
    if (wav.dataOffset == 0)
        return fail(tr("har ingen lyd"));
    const qint64 frame = qint64(wav.channels) * (wav.bits / 8);
    if (wav.dataBytes < frame)
        return fail(tr("har ingen lyd"));
    if (withSamples)
        wav.samples = readSamples(file, wav);
    return wav;
}

double peak(const QVector<qint16> &samples, int from, int to)
{
    if (to < 0 || to > samples.size())
        to = samples.size();
    int result = 0;
    for (int i = std::max(0, from); i < to; ++i)
        result = std::max(result, std::abs(int(samples[i])));
    return result / 32768.0;
}

double rms(const QVector<qint16> &samples)
{
    if (samples.isEmpty())
        return 0.0;
    qint64 sum = 0; // exact
    for (qint16 sample : samples)
        sum += int(sample) * int(sample);
    return std::sqrt(double(sum) / samples.size()) / 32768.0;
}

QString problem(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return tr("mangler");
    const Wav wav = read(path, false);
    if (!wav.error.isEmpty())
        return wav.error;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr("kan ikke læses (%1)").arg(file.errorString());
    // Speech that runs to the very last 50 ms was cut off.
    const Loudness loudness = measure(file, wav, qint64(wav.rate / 20) * wav.channels);
    const double rmsLevel = loudness.count > 0
            ? std::sqrt(double(loudness.sumOfSquares) / loudness.count) / 32768.0 : 0.0;
    if (loudness.peak / 32768.0 <= 0.25 || rmsLevel <= 0.02)
        return tr("er uden lyd eller meget svag");
    if (loudness.tailPeak / 32768.0 >= 0.05)
        return tr("slutter midt i lyden (klippet af)");
    return QString();
}

QVector<Finding> findProblems(const QStringList &fileNames)
{
    QVector<Finding> findings;
    for (const QString &name : fileNames) {
        const QString sound = QStringLiteral("sounds/") + name;
        const QString path = RecordingFolders::resolve(sound);
        const bool found = QFileInfo(path).isFile();
        const QString why = problem(path);
        if (!why.isEmpty())
            findings.append({ name, found ? path : QString(), why });
    }
    return findings;
}

} // namespace RecordingCheck
