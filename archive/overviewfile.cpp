#include "archive/overviewfile.h"

#include "archive/resultsfolder.h"
#include "archive/safefile.h"
#include "model/learnerfilename.h"
#include "model/overviewtext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace OverviewFile {

QString fileName()
{
    return QStringLiteral("oversigt.csv");
}

QString path(const ResultsFolder &folder)
{
    return folder.filePath(LearnerFileName::folderName() + QLatin1Char('/') + fileName());
}

bool append(const ResultsFolder &folder, const QString &row, QString *reason, int lockWaitMs)
{
    auto fail = [reason](const char *text) {
        *reason = QCoreApplication::translate("OverviewFile", text);
        return false;
    };
    if (!SafeFile::mayWriteInto(QFileInfo(path(folder)).path()) || !QDir().mkpath(QFileInfo(path(folder)).path()))
        return fail("Klassemappen kan ikke oprettes.");
    QLockFile lock(path(folder) + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return fail("Et andet Skrivlo skriver i oversigten lige nu.");

    QByteArray bytes;
    QFile file(path(folder));
    if (file.exists()) {
        if (!SafeFile::mayReplace(path(folder)) || !file.open(QIODevice::ReadOnly))
            return fail("Oversigten kan ikke læses.");
        bytes = file.readAll();
        file.close();
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += "\r\n"; // a row cut off by hand must not swallow the new one
    }
    if (bytes.isEmpty())
        bytes = OverviewText::document({});
    bytes += row.toUtf8();
    if (!SafeFile::write(path(folder), bytes))
        return fail("Oversigten kan ikke skrives.");
    return true;
}

} // namespace OverviewFile
