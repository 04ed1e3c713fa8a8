#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// The program's own pictures, compiled in under ":/images/" as the pixels a PNG decodes to
// (the build turns each PNG into them). Reading them needs neither the PNG decoder nor a
// look through Qt's image format plugins, which took milliseconds on the way to the access
// dialog. Named by their PNG ("next.png"); a missing or broken picture gives a null one.
namespace CompiledPicture {

QPixmap pixmap(const QString &fileName);
QImage image(const QString &fileName);

} // namespace CompiledPicture
