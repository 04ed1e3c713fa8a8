#include "archive/recoveryfile.h"

#include "archive/safefile.h"
#include "archive/workingfolder.h"
#include "model/recoverytext.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace RecoveryFile {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecoveryFile", text);
}

// The one file of the two that is there: the sealed one, else one from before.
QString present(const WorkingFolder &folder)
{
    const QFileInfo sealed(path(folder));
    return sealed.exists() || sealed.isSymLink() ? path(folder) : unsealedPath(folder);
}

bool openedBytes(const WorkingFolder &folder, const Keyring &keys, QByteArray *plain, QString *reason)
{
    QByteArray bytes;
    // A test's worth of answers is a few kilobytes; anything far larger is not ours.
    switch (SafeFile::readSmall(present(folder), SealedFile::largestFile, &bytes)) {
    case SafeFile::Read::Done:
        break;
    case SafeFile::Read::TooLarge:
        *reason = tr("Filen er for stor til at være en gemt test.");
        return false;
    case SafeFile::Read::NotPlain:
    case SafeFile::Read::Failed:
        *reason = tr("Filen kan ikke læses.");
        return false;
    }
    switch (SealedFile::open(keys, plainName(), bytes, plain)) {
    case SealedFile::Opened::Yes:
        return true;
    case SealedFile::Opened::NotSealed:
        *reason = tr("Filen er ikke beskyttet med skolens password, så den kan være skrevet af hvem som helst.");
        return false;
    case SealedFile::Opened::OtherKey:
        *reason = tr("Filen er beskyttet med et andet password end skolens nuværende.");
        return false;
    case SealedFile::Opened::Changed:
        break;
    }
    *reason = tr("Filen er ændret eller beskadiget.");
    return false;
}

} // namespace

QString path(const WorkingFolder &folder)
{
    return folder.filePath(SealedFile::sealedName(plainName()));
}

QString plainName()
{
    return QStringLiteral("skrivlo-gemt-test.json");
}

QString unsealedPath(const WorkingFolder &folder)
{
    return folder.filePath(plainName());
}

bool exists(const WorkingFolder &folder)
{
    for (const QString &file : { path(folder), unsealedPath(folder) }) {
        if (QFileInfo::exists(file) || QFileInfo(file).isSymLink())
            return true;
    }
    return false;
}

bool write(const WorkingFolder &folder, const ClassKey &key, const RecoveryState &state, bool *replacedLink)
{
    const QFileInfo info(path(folder));
    const bool link = info.isSymLink() || info.isJunction();
    if (replacedLink)
        *replacedLink = false;
    if (link && !QFile::remove(path(folder)))
        return false;
    const QByteArray sealed = SealedFile::seal(key, plainName(), RecoveryText::serialise(state));
    const bool written = !sealed.isEmpty() && SafeFile::write(path(folder), sealed);
    if (replacedLink)
        *replacedLink = link && written;
    return written;
}

bool read(const WorkingFolder &folder, const Keyring &keys, RecoveryState *state, QString *reason)
{
    QByteArray plain;
    return openedBytes(folder, keys, &plain, reason) && RecoveryText::parse(plain, state, reason);
}

QByteArray opened(const WorkingFolder &folder, const Keyring &keys)
{
    QByteArray plain;
    QString reason;
    const QFileInfo sealed(path(folder));
    if (!sealed.exists() || !openedBytes(folder, keys, &plain, &reason))
        return QByteArray();
    return plain;
}

bool setAside(const WorkingFolder &folder, Aside why, QString *name)
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
    const QString original = present(folder);
    // Sealed or not, the name keeps the ending that says so.
    const QString ending = original == path(folder) ? QStringLiteral(".json") + SealedFile::suffix()
                                                    : QStringLiteral(".json");
    QString aside = folder.filePath(stem + ending);
    for (int n = 2; taken(aside); ++n)
        aside = folder.filePath(QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(ending));
    *name = QFileInfo(aside).fileName();
    if (QFile::rename(original, aside))
        return true;
    if (!QFile::copy(original, aside))
        return false;
    // The copy keeps the answers now; an original that stays is written over by the next test.
    QFile::remove(original);
    return true;
}

void remove(const WorkingFolder &folder)
{
    QFile::remove(path(folder));
    QFile::remove(unsealedPath(folder));
}

} // namespace RecoveryFile
