#include "compiledpicture.h"

#include <QImageReader>

namespace CompiledPicture {

QPixmap pixmap(const QString &fileName)
{
    QImageReader reader(QStringLiteral(":/images/") + fileName, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace CompiledPicture
