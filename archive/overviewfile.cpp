#include "overviewfile.h"

#include "learnerfilename.h"
#include "overviewtext.h"
#include "resultsfolder.h"
#include "safefile.h"

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

QString path()
{
    return ResultsFolder::filePath(LearnerFileName::folderName() + QLatin1Char('/') + fileName());
}

bool append(const QString &row, QString *reason, int lockWaitMs)
{
    auto fail = [reason](const char *text) {
        *reason = QCoreApplication::translate("OverviewFile", text);
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path()).path()))
        return fail("Mappen \"resultater\" kan ikke oprettes.");
    QLockFile lock(path() + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return fail("Oversigten er låst af et andet program.");

    QByteArray bytes;
    QFile file(path());
    if (file.exists()) {
        if (!SafeFile::mayReplace(path()) || !file.open(QIODevice::ReadOnly))
            return fail("Oversigten kan ikke læses.");
        bytes = file.readAll();
        file.close();
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += "\r\n"; // a row cut off by hand must not swallow the new one
    }
    if (bytes.isEmpty())
        bytes = "\xEF\xBB\xBF" + OverviewText::headerLine().toUtf8();
    bytes += row.toUtf8();
    if (!SafeFile::write(path(), bytes))
        return fail("Oversigten kan ikke skrives.");
    return true;
}

} // namespace OverviewFile
