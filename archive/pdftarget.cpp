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

} // namespace PdfTarget
