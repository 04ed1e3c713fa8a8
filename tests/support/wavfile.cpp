#include "tests/support/wavfile.h"

#include <QDataStream>
#include <QFile>
#include <QtEndian>

namespace WavFile {

QByteArray tone(int samples, int rate)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = samples * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    const int quietFrom = samples - samples / 5;
    for (int i = 0; i < samples; ++i)
        out << qint16(i < quietFrom ? (i % 50) * 800 - 20000 : 0);
    return data;
}

QVector<Broken> broken()
{
    const QByteArray good = tone(22050);
    auto patched = [&good](int offset, quint32 value, int size) {
        QByteArray bytes = good;
        if (size == 2)
            qToLittleEndian(quint16(value), bytes.data() + offset);
        else
            qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    return {
        { "empty", QByteArray() },
        { "header only", good.left(44) },
        { "cut data", good.left(good.size() / 2) },
        { "data size 4 GiB", patched(40, 0xffffffffu, 4) },
        { "streaming header", patched(4, 0xffffffffu, 4) },
        { "zero channels", patched(22, 0, 2) },
        { "zero rate", patched(24, 0, 4) },
        { "zero bits", patched(34, 0, 2) },
        { "24 bit", patched(34, 24, 2) },
        { "not a WAV", QByteArray("Dette er ikke en lydfil.\n") },
    };
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace WavFile
