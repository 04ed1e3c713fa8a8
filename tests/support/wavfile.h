#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// WAV files for the tests: a good one, and the broken kinds that a teacher's folder can
// hold (each stalled the sound backend before the player checked its files).
namespace WavFile {

// 16-bit mono PCM: a sawtooth, loud from the start, with silence at the end.
QByteArray tone(int samples, int rate = 22050);

struct Broken
{
    const char *name;
    QByteArray bytes;
};

// Every kind of broken file, made from a good one.
QVector<Broken> broken();

bool write(const QString &path, const QByteArray &bytes);

} // namespace WavFile
