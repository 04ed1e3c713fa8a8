#include "archive/classfoldercheck.h"

#include "archive/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ClassFolderCheck {

bool usable(const QString &classFolder, bool mayCreate, const QString &pc, QString *reason)
{
    const auto fail = [reason](const char *text) {
        *reason = QCoreApplication::translate("ClassFolderCheck", text);
        return false;
    };
    const QFileInfo info(classFolder);
    if (info.exists() && !info.isDir())
        return fail("Der ligger en fil med det navn, ikke en mappe.");
    if (!info.exists()) {
        if (!mayCreate)
            return fail("Mappen findes ikke eller kan ikke nås. Måske er serveren slukket, "
                        "netværkskablet taget ud, eller drevet er ikke forbundet.");
        if (!QDir().mkpath(classFolder))
            return fail("Mappen findes ikke og kan ikke oprettes.");
    }
    const QString probe = QDir(classFolder).filePath(QStringLiteral(".skrivlo-proeve-%1.tmp").arg(pc));
    const QByteArray bytes = "Skrivlo " + pc.toLatin1() + '\n';
    QFile back(probe);
    const bool written = SafeFile::write(probe, bytes) && back.open(QIODevice::ReadOnly) && back.readAll() == bytes;
    back.close();
    QFile::remove(probe);
    if (!written)
        return fail("Skrivlo kan ikke skrive i mappen. Den er skrivebeskyttet eller fuld, "
                    "eller forbindelsen til serveren er afbrudt.");
    return true;
}

} // namespace ClassFolderCheck
