#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Whether a recording will play as it should: a WAV file that Qt's sound effect decodes
// (PCM, 8 or 16 bit, 1 or 2 channels, 8 to 48 kHz, sizes that agree with the file), that
// holds sound, and that is not cut off in the middle of it. A file that fails the header
// rules is never handed to Qt: loading it can stall the sound backend for good.
namespace RecordingCheck {

struct Wav
{
    QString error; // empty when the header is one that plays; Danish, for the teacher
    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    qint64 dataOffset = 0;
    qint64 dataBytes = 0;
    QVector<qint16> samples; // interleaved, 8-bit ones widened; filled only when asked for

    double seconds() const;
};

// Reads the header (and the samples when withSamples), checking every size against the file.
Wav read(const QString &path, bool withSamples);

// Loudness of samples[from, to) as a share of full scale.
double peak(const QVector<qint16> &samples, int from = 0, int to = -1);
double rms(const QVector<qint16> &samples);

// What is wrong with a file for the learner, in Danish; empty when it will play properly:
// present, a header that plays, sound in it, and quiet at its end.
QString problem(const QString &path);

struct Finding
{
    QString fileName; // "17.wav"
    QString path;     // where it was found; empty when no folder has it
    QString problem;  // as problem() says it
};

// Looks each name up along the recordings' search path and checks the file the player
// would use; returns only the names that are missing or bad.
QVector<Finding> findProblems(const QStringList &fileNames);

} // namespace RecordingCheck
