#include "recoveryfile.h"

#include "recoverytext.h"
#include "resultsfolder.h"
#include "safefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace RecoveryFile {

QString path()
{
    return ResultsFolder::filePath(QStringLiteral("skrivlo-gemt-test.json"));
}

bool exists()
{
    return QFileInfo::exists(path()) || QFileInfo(path()).isSymLink();
}

bool write(const RecoveryState &state)
{
    return SafeFile::write(path(), RecoveryText::serialise(state));
}

bool read(RecoveryState *state, QString *reason)
{
    QFile file(path());
    if (!SafeFile::mayReplace(path()) || !file.open(QIODevice::ReadOnly)) {
        *reason = QCoreApplication::translate("RecoveryFile", "Filen kan ikke læses.");
        return false;
    }
    // A test's worth of answers is a few kilobytes; anything far larger is not ours.
    constexpr qint64 largest = 4 * 1024 * 1024;
    if (file.size() > largest) {
        *reason = QCoreApplication::translate("RecoveryFile", "Filen er for stor til at være en gemt test.");
        return false;
    }
    return RecoveryText::parse(file.readAll(), state, reason);
}

QString setAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    const QString aside = ResultsFolder::filePath(QStringLiteral("skrivlo-gemt-test ulæselig %1.json").arg(stamp));
    QFile::rename(path(), aside);
    return QFileInfo(aside).fileName();
}

void remove()
{
    QFile::remove(path());
}

} // namespace RecoveryFile
