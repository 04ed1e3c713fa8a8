#include "archive/safefile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

bool mayReplace(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction())
        return false;
    return !info.exists() || info.isFile();
}

bool write(const QString &path, const QByteArray &bytes)
{
    if (!mayReplace(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // An explicit flush: an error in the flush that commit() does while closing goes
    // unnoticed here (Qt 6.4), and a cut-off file would replace the whole one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace SafeFile
