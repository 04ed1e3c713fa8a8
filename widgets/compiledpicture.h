#pragma once

#include <QPixmap>
#include <QString>

// The program's own pictures: PNGs compiled in under ":/images/". They are read as PNG
// without letting Qt guess the format, which would load every image format plugin (and
// libjpeg) on the way to the access dialog. A missing or broken picture gives a null pixmap.
namespace CompiledPicture {

QPixmap pixmap(const QString &fileName);

} // namespace CompiledPicture
