#include "archive/foldercheck.h"

#include "archive/classkeys.h"
#include "archive/outbox.h"
#include "archive/recoveryfile.h"
#include "archive/reportfile.h"
#include "archive/safefile.h"
#include "archive/workingfolder.h"
#include "model/learnerfilename.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace FolderCheck {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FolderCheck", text);
}

const QString probeName = QStringLiteral("skrivlo-skrivetest.tmp");

QString probeNameOf(const QString &pc)
{
    return QStringLiteral("skrivlo-skrivetest %1.tmp").arg(pc);
}

bool diskFull(const QString &folder)
{
#ifdef Q_OS_UNIX
    struct statvfs disk;
    return ::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 && disk.f_bavail == 0;
#else
    Q_UNUSED(folder);
    return false;
#endif
}

// The file is read back too: a share that takes a write but loses it must not pass.
bool probeAs(const QString &folder, const QString &name, QString *reason)
{
    const QString shown = QDir::toNativeSeparators(folder);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *reason = tr("»%1« er en fil, ikke en mappe.").arg(shown);
        return false;
    }
    if (!info.exists() && !QDir().mkpath(folder)) {
        *reason = tr("Mappen »%1« kan ikke oprettes.").arg(shown);
        return false;
    }
    const QString file = QDir(folder).filePath(name);
    const QByteArray bytes = QByteArrayLiteral("Skrivlo ") + name.toUtf8() + '\n';
    QByteArray back;
    const bool written = SafeFile::write(file, bytes)
            && SafeFile::readSmall(file, bytes.size(), &back) == SafeFile::Read::Done && back == bytes;
    if (QFile::remove(file) && written)
        return true;
    if (!QFileInfo(folder).isWritable())
        *reason = tr("Skrivlo må ikke skrive i mappen »%1«. Den er skrivebeskyttet.").arg(shown);
    else if (diskFull(folder))
        *reason = tr("Der er ikke mere plads på disken med mappen »%1«.").arg(shown);
    else
        *reason = tr("Skrivlo kan ikke gemme filer i mappen »%1«.").arg(shown);
    return false;
}

} // namespace

bool probe(const QString &folder, QString *reason)
{
    return probeAs(folder, probeName, reason);
}

bool classFolderUsable(const QString &classFolder, bool mayCreate, const QString &pc, QString *reason)
{
    if (!QFileInfo::exists(classFolder)) {
        // The default one is made by the first result sent, in a working folder just shown to
        // take files: a start that ends at once leaves nothing behind.
        if (mayCreate)
            return true;
        *reason = tr("Mappen findes ikke eller kan ikke nås. Måske er serveren slukket, "
                     "netværkskablet taget ud, eller drevet er ikke forbundet.");
        return false;
    }
    return probeAs(classFolder, probeNameOf(pc), reason);
}

bool writable(const WorkingFolder &folder, QString *reason)
{
    if (!probe(folder.path(), reason))
        return false;
    const QString archive = folder.filePath(LearnerFileName::folderName());
    const QFileInfo info(archive);
    if (info.isSymLink() || info.isJunction()) {
        *reason = tr("Mappen »%1« er en genvej (et link) til »%2«. Skrivlo gemmer ikke resultater gennem "
                     "en genvej. Skal resultaterne ligge et andet sted, så vælg den mappe.")
                          .arg(QDir::toNativeSeparators(archive), QDir::toNativeSeparators(info.symLinkTarget()));
        return false;
    }
    // A missing one is made by the first write, in a folder just shown to take files: a
    // start that ends at once leaves nothing behind.
    return !info.exists() || probe(archive, reason);
}

QStringList removeLeftovers(const WorkingFolder &folder)
{
    const QString recovery = QFileInfo(RecoveryFile::path(folder)).fileName();
    const auto inResults = [&recovery](const QString &name) {
        return name == ReportFile::fileName() || name == recovery || name == probeName
                || name == ClassKeys::localFileName()
                || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    };
    const auto inArchive = [](const QString &name) {
        return name.endsWith(QLatin1String(".html")) || name.endsWith(QLatin1String(".csv"))
                || name.endsWith(SealedFile::suffix()) || name.endsWith(ClassKeys::ending())
                || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) || name == probeName;
    };
    const QString archive = folder.filePath(LearnerFileName::folderName());
    QStringList removed;
    for (const QString &name : SafeFile::removeLeftovers(folder.path(), inResults))
        removed.append(folder.filePath(name));
    const QString outbox = folder.filePath(Outbox::folderName());
    if (SafeFile::mayWriteInto(outbox)) {
        for (const QString &name : SafeFile::removeLeftovers(outbox, inArchive))
            removed.append(QDir(outbox).filePath(name));
    }
    if (SafeFile::mayWriteInto(archive)) {
        for (const QString &name : SafeFile::removeLeftovers(archive, inArchive))
            removed.append(QDir(archive).filePath(name));
    }
    return removed;
}

QStringList removeClassLeftovers(const QString &classFolder, const QString &pc)
{
    // Every file a PC writes there is named for the PC first.
    const auto ours = [&pc](const QString &name) {
        return name.startsWith(pc + QLatin1Char(' ')) || name == probeNameOf(pc);
    };
    QStringList removed;
    if (SafeFile::mayWriteInto(classFolder)) {
        for (const QString &name : SafeFile::removeLeftovers(classFolder, ours))
            removed.append(QDir(classFolder).filePath(name));
    }
    return removed;
}

} // namespace FolderCheck
