#include "archive/recoveryfile.h"

#include "archive/resultsfolder.h"
#include "archive/safefile.h"
#include "model/recoverytext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace RecoveryFile {

QString path(const ResultsFolder &folder)
{
    return folder.filePath(QStringLiteral("skrivlo-gemt-test.json"));
}

bool exists(const ResultsFolder &folder)
{
    return QFileInfo::exists(path(folder)) || QFileInfo(path(folder)).isSymLink();
}

bool write(const ResultsFolder &folder, const RecoveryState &state, bool *replacedLink)
{
    const QFileInfo info(path(folder));
    const bool link = info.isSymLink() || info.isJunction();
    if (replacedLink)
        *replacedLink = false;
    if (link && !QFile::remove(path(folder)))
        return false;
    const bool written = SafeFile::write(path(folder), RecoveryText::serialise(state));
    if (replacedLink)
        *replacedLink = link && written;
    return written;
}

bool read(const ResultsFolder &folder, RecoveryState *state, QString *reason)
{
    QFile file(path(folder));
    if (!SafeFile::mayReplace(path(folder)) || !file.open(QIODevice::ReadOnly)) {
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

bool setAside(const ResultsFolder &folder, Aside why, QString *name)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    // A teacher reads the name in the working folder: it says what the file is, not only that.
    const QString word = why == Aside::Unreadable           ? QStringLiteral("ulæselig")
            : why == Aside::ContinuedElsewhere               ? QStringLiteral("fortsat på anden pc")
                                                             : QStringLiteral("ikke gemt i klassemappen");
    const QString stem = QStringLiteral("skrivlo-gemt-test %1 %2").arg(word, stamp);
    // A link counts as taken too, even one that points nowhere.
    const auto taken = [](const QString &name) {
        const QFileInfo info(name);
        return info.exists() || info.isSymLink();
    };
    QString aside = folder.filePath(stem + QLatin1String(".json"));
    for (int n = 2; taken(aside); ++n)
        aside = folder.filePath(QStringLiteral("%1 (%2).json").arg(stem).arg(n));
    *name = QFileInfo(aside).fileName();
    if (QFile::rename(path(folder), aside))
        return true;
    if (!QFile::copy(path(folder), aside))
        return false;
    // The copy keeps the answers now; an original that stays is written over by the next test.
    QFile::remove(path(folder));
    return true;
}

void remove(const ResultsFolder &folder)
{
    QFile::remove(path(folder));
}

} // namespace RecoveryFile
