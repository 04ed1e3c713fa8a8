#include "widgets/compiledpicture.h"

#include <QResource>
#include <QtEndian>

namespace CompiledPicture {

QPixmap pixmap(const QString &fileName)
{
    return QPixmap::fromImage(image(fileName));
}

QImage image(const QString &fileName)
{
    // "next.png" is compiled in as "next.raw" (see resources/images/rawpicture.cpp).
    QString rawName = fileName;
    rawName.replace(QStringLiteral(".png"), QStringLiteral(".raw"));
    const QResource resource(QStringLiteral(":/images/") + rawName);
    const QByteArray bytes = resource.uncompressedData();
    constexpr int header = 16 + 4 * 4;
    if (bytes.size() < header || !bytes.startsWith("SKRIVLO-PICTURE1"))
        return QImage();
    const auto number = [&bytes](int index) { return qFromLittleEndian<qint32>(bytes.constData() + 16 + 4 * index); };
    const int width = number(0);
    const int height = number(1);
    const int format = number(2);
    const int bytesPerLine = number(3);
    if (width <= 0 || height <= 0 || format <= QImage::Format_Invalid || format >= QImage::NImageFormats
        || bytes.size() - header < qint64(bytesPerLine) * height)
        return QImage();
    // A copy, so the picture owns its pixels.
    return QImage(reinterpret_cast<const uchar *>(bytes.constData()) + header, width, height, bytesPerLine,
                  QImage::Format(format)).copy();
}

} // namespace CompiledPicture
