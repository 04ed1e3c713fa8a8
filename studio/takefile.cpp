#include "studio/takefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

namespace TakeFile {

bool save(const QString &folder, const QString &fileName, const QByteArray &bytes, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QCoreApplication::translate("TakeFile", "Mappen %1 kan ikke oprettes.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QSaveFile file(QDir(folder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QCoreApplication::translate("TakeFile", "%1 kan ikke gemmes: %2")
                         .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        return false;
    }
    return true;
}

} // namespace TakeFile
