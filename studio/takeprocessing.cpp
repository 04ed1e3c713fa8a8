#include "studio/takeprocessing.h"

#include <QAudioFormat>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double windowSeconds = 0.01;
constexpr double leadInSeconds = 0.15; // as the spoken recordings have
constexpr double tailSeconds = 0.3;
constexpr double fadeSeconds = 0.01;
constexpr double targetPeak = 0.89; // about -1 dB
constexpr double maxGain = 40.0;
// Below this (of full scale) a take is taken for an unplugged or muted microphone.
constexpr double silentPeak = 0.01;

double sampleAt(const char *frame, QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return (int(*reinterpret_cast<const quint8 *>(frame)) - 128) / 128.0;
    case QAudioFormat::Int16:
        return qFromLittleEndian<qint16>(frame) / 32768.0;
    case QAudioFormat::Int32:
        return qFromLittleEndian<qint32>(frame) / 2147483648.0;
    case QAudioFormat::Float: {
        float value;
        std::memcpy(&value, frame, sizeof value);
        return value;
    }
    default:
        return 0.0;
    }
}

// RMS of each window of the take.
QVector<double> windowLevels(const TakeProcessing::Take &take)
{
    const int n = std::max(1, int(take.rate * windowSeconds));
    QVector<double> levels;
    for (int start = 0; start + n <= take.samples.size(); start += n) {
        double sum = 0;
        for (int i = start; i < start + n; ++i)
            sum += double(take.samples[i]) * take.samples[i];
        levels.append(std::sqrt(sum / n));
    }
    return levels;
}

int peakOf(const QVector<qint16> &samples)
{
    int peak = 0;
    for (qint16 s : samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

} // namespace

namespace TakeProcessing {

Take fromDevice(const QByteArray &raw, const QAudioFormat &format)
{
    Take take;
    take.rate = format.sampleRate();
    const int channels = format.channelCount();
    const int bytes = format.bytesPerSample();
    if (channels < 1 || bytes < 1 || take.rate < 1)
        return Take();
    const int frames = int(raw.size() / (channels * bytes));
    QVector<double> mono(frames);
    for (int f = 0; f < frames; ++f) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += sampleAt(raw.constData() + (qsizetype(f) * channels + c) * bytes, format.sampleFormat());
        mono[f] = sum / channels;
    }
    // The sound effect plays up to 48 kHz: halve faster rates, averaging neighbours.
    while (take.rate > 48000 && take.rate % 2 == 0) {
        QVector<double> half(mono.size() / 2);
        for (int i = 0; i < half.size(); ++i)
            half[i] = (mono[2 * i] + mono[2 * i + 1]) / 2;
        mono = half;
        take.rate /= 2;
    }
    take.samples.resize(mono.size());
    for (int i = 0; i < mono.size(); ++i)
        take.samples[i] = qint16(std::clamp(std::lround(mono[i] * 32768.0), -32768L, 32767L));
    return take;
}

bool isSilent(const Take &take)
{
    return peakOf(take.samples) < silentPeak * 32768;
}

Take trimmed(const Take &take)
{
    const QVector<double> levels = windowLevels(take);
    if (levels.isEmpty())
        return take;
    // The room's noise is what the quietest tenth of the take holds; speech stands well above
    // it and above a small part of the loudest moment.
    QVector<double> sorted = levels;
    std::sort(sorted.begin(), sorted.end());
    const double floor = sorted.at(sorted.size() / 10);
    const double threshold = std::max({ floor * 4, sorted.last() * 0.06, 100.0 });
    const auto loud = [threshold](double level) { return level > threshold; };
    const int first = int(std::find_if(levels.cbegin(), levels.cend(), loud) - levels.cbegin());
    if (first == levels.size())
        return take;
    const int last = int(levels.size() - 1 - (std::find_if(levels.crbegin(), levels.crend(), loud) - levels.crbegin()));

    const int window = std::max(1, int(take.rate * windowSeconds));
    const int from = std::max(0, first * window - int(take.rate * leadInSeconds));
    const int to = std::min(int(take.samples.size()), (last + 1) * window + int(take.rate * tailSeconds));
    Take result { take.samples.mid(from, to - from), take.rate };
    const int fade = std::min(int(take.rate * fadeSeconds), int(result.samples.size()) / 2);
    for (int i = 0; i < fade; ++i) {
        const double gain = double(i) / fade;
        result.samples[i] = qint16(std::lround(result.samples[i] * gain));
        qint16 &end = result.samples[result.samples.size() - 1 - i];
        end = qint16(std::lround(end * gain));
    }
    return result;
}

Take levelled(const Take &take)
{
    const int peak = peakOf(take.samples);
    if (peak == 0)
        return take;
    const double gain = std::min(maxGain, targetPeak * 32767 / peak);
    Take result = take;
    for (qint16 &sample : result.samples)
        sample = qint16(std::clamp(std::lround(sample * gain), -32768L, 32767L));
    return result;
}

QByteArray wavBytes(const Take &take)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = quint32(take.samples.size()) * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(take.rate) << quint32(take.rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    for (qint16 sample : take.samples)
        out << sample;
    return bytes;
}

} // namespace TakeProcessing
