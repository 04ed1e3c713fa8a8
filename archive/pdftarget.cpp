#include "archive/pdftarget.h"

#include "model/learnerfilename.h"
#include "recordings/recordingfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace PdfTarget {

QString suggestedName(const QString &learnerName, const QDate &date)
{
    QString name = LearnerFileName::safeName(learnerName);
    if (name.isEmpty())
        name = QCoreApplication::translate("PdfTarget", "Resultater");
    return name + QLatin1Char(' ') + date.toString(Qt::ISODate) + QStringLiteral(".pdf");
}

QString withPdfEnding(const QString &path)
{
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".pdf");
}

bool isProtected(const QString &path)
{
    const QFileInfo target(path);
    if (target.fileName().compare(QStringLiteral("results.html"), Qt::CaseInsensitive) == 0)
        return true;
    const QString absolute = QDir::cleanPath(target.absoluteFilePath());
    if (absolute == QDir::cleanPath(QCoreApplication::applicationFilePath()))
        return true;
    for (const QString &folder : RecordingFolders::searchPath()) {
        if (QDir::cleanPath(target.absolutePath()) == QDir::cleanPath(folder))
            return true;
    }
    return false;
}

bool isInside(const QString &path, const QStringList &allowedFolders)
{
    return isInsideResolved(path, resolveAll(allowedFolders));
}

bool isInsideResolved(const QString &path, const QStringList &resolvedFolders)
{
    // The folder must exist: its real place is what counts, links and ".." resolved.
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    for (const QString &root : resolvedFolders) {
        if (!root.isEmpty() && (folder == root || folder.startsWith(root + QLatin1Char('/'))))
            return true;
    }
    return false;
}

QStringList resolveAll(const QStringList &folders)
{
    QStringList resolved;
    for (const QString &folder : folders)
        resolved.append(QFileInfo(folder).canonicalFilePath());
    return resolved;
}

namespace {

// A name the file systems take: "*" once wrote a file named "*.pdf", and Windows forbids the rest.
bool nameRefused(const QString &name, QString *reason)
{
    static const QString forbidden = QStringLiteral("*?\"<>|:\\");
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20) {
            *reason = QCoreApplication::translate("PdfTarget", "Navnet må ikke indeholde tegnene * ? < > | : \\ eller anførselstegn.\n"
                                                               "Vælg et andet navn.");
            return true;
        }
    }
    return false;
}

QString nameTaken()
{
    return QCoreApplication::translate("PdfTarget", "Der findes allerede en fil med det navn.\nVælg et andet navn.");
}

} // namespace

Verdict check(const QString &chosen, const QStringList &allowedFolders, const QStringList &ownPdfs, QString *reason,
              const QStringList &sealedFolders)
{
    auto refuse = [reason](const QString &text) {
        *reason = text;
        return Verdict::Refuse;
    };
    const QString target = withPdfEnding(chosen);
    const QString name = QFileInfo(chosen).fileName();
    if (nameRefused(name, reason))
        return Verdict::Refuse;
    if (name.isEmpty() || !isInside(target, allowedFolders))
        return refuse(QCoreApplication::translate("PdfTarget", "Resultaterne kan kun gemmes i arbejdsmappen "
                                                               "»%1« eller en mappe i den.\nVælg en mappe der.")
                              .arg(QDir::toNativeSeparators(allowedFolders.value(0))));
    // The class folder holds sealed files only: a PDF there would be every learner's to read.
    if (isInside(target, sealedFolders))
        return refuse(QCoreApplication::translate("PdfTarget", "Klassemappen gemmer kun beskyttede filer, "
                                                               "så PDF-filen kan ikke gemmes der.\nVælg en anden mappe."));
    if (isProtected(chosen) || isProtected(target))
        return refuse(QCoreApplication::translate("PdfTarget", "Den fil må ikke erstattes.\nVælg et andet navn."));
    for (const QString &path : { chosen, target }) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        // Only a PDF this learner saved here may be replaced: any other file is someone
        // else's, such as another learner's PDF, the overview or the recovery file.
        if (path != target || info.isSymLink() || !info.isFile() || !ownPdfs.contains(target))
            return refuse(nameTaken());
        return Verdict::AskToReplace;
    }
    return Verdict::Write;
}

Verdict checkOutside(const QString &chosen, const QStringList &closedFolders, QString *reason)
{
    const QString target = withPdfEnding(chosen);
    const QString name = QFileInfo(chosen).fileName();
    if (nameRefused(name, reason))
        return Verdict::Refuse;
    if (name.isEmpty() || isInsideResolved(target, closedFolders)) {
        *reason = classFolderClosed();
        return Verdict::Refuse;
    }
    if (isProtected(chosen) || isProtected(target)) {
        *reason = QCoreApplication::translate("PdfTarget", "Den fil må ikke erstattes.\nVælg et andet navn.");
        return Verdict::Refuse;
    }
    for (const QString &path : { chosen, target }) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (path != target || info.isSymLink() || !info.isFile()) {
            *reason = nameTaken();
            return Verdict::Refuse;
        }
        return Verdict::AskToReplace;
    }
    return Verdict::Write;
}

QString classFolderClosed()
{
    return QCoreApplication::translate("PdfTarget", "I klassemappen ligger kun Skrivlos egne, beskyttede filer.\n"
                                                    "Vælg en anden mappe, fx Dokumenter eller et USB-stik.");
}

} // namespace PdfTarget
