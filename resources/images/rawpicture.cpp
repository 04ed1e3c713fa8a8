// Build tool: a PNG as the pixels the program shows, so that reading a picture at run time
// needs neither the PNG decoder nor a look through Qt's image format plugins.
// Usage: skrivlo-rawpicture in.png out.raw
// The file: "SKRIVLO-PICTURE1" (16 bytes), then width, height, QImage format and bytes per
// line as little-endian 32-bit numbers, then the lines.

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QImageReader>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: skrivlo-rawpicture in.png out.raw\n");
        return 2;
    }
    QImageReader reader(arguments.at(1), QByteArrayLiteral("png"));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(arguments.at(1)), qPrintable(reader.errorString()));
        return 1;
    }
    QFile out(arguments.at(2));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(arguments.at(2)), qPrintable(out.errorString()));
        return 1;
    }
    QDataStream stream(&out);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.writeRawData("SKRIVLO-PICTURE1", 16);
    stream << qint32(image.width()) << qint32(image.height()) << qint32(image.format())
           << qint32(image.bytesPerLine());
    stream.writeRawData(reinterpret_cast<const char *>(image.constBits()), int(image.sizeInBytes()));
    return out.error() == QFile::NoError ? 0 : 1;
}
