#pragma once

#include <QByteArray>
#include <QVector>

class QAudioFormat;

// What becomes of a take from the microphone before it is saved: one channel of 16-bit
// samples at a rate the sound effect plays, the silence before and after the speech cut
// away, and the loudest moment brought to a fixed level. Pure functions, for the tests.
namespace TakeProcessing {

struct Take
{
    QVector<qint16> samples;
    int rate = 0;

    bool isEmpty() const { return samples.isEmpty(); }
    double seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
};

// Raw audio as the device delivered it (any sample format, any number of channels) as mono
// 16-bit at no more than 48 kHz.
Take fromDevice(const QByteArray &raw, const QAudioFormat &format);

// True when the take holds nothing that stands out from the room's own noise.
bool isSilent(const Take &take);

// Cuts the silence at both ends, keeping a short lead-in and tail so that no syllable is
// clipped, and fades the new ends in and out.
Take trimmed(const Take &take);

// Scales the take so that its loudest sample lies just below full scale.
Take levelled(const Take &take);

// The take as a 16-bit mono PCM WAV file.
QByteArray wavBytes(const Take &take);

} // namespace TakeProcessing
