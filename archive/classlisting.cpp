#include "archive/classlisting.h"

#include "model/learnerdatatext.h"
#include "model/reportscan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

const QString dataSuffix = QStringLiteral(".json");
const QString reportSuffix = QStringLiteral(".html");
constexpr qint64 largestFile = 4 * 1024 * 1024; // a report is a few kB; anything bigger is foreign

QString tr(const char *text)
{
    return QCoreApplication::translate("ClassListing", text);
}

} // namespace

ClassListing::ClassListing(const QString &classFolder, const QString &outbox)
    : folder(classFolder)
    , outboxFolder(outbox)
{
}

ClassListing::Result ClassListing::scan()
{
    Result result;
    bool reachable = true;
    result.entries = list(folder, ClassEntry::Handed, &reachable);
    if (!reachable) {
        result.reachable = false;
        result.problem = tr("Klassemappen %1 kan ikke nås.").arg(QDir::toNativeSeparators(folder));
    }
    QSet<QString> handed;
    for (const ClassEntry &entry : std::as_const(result.entries))
        handed.insert(entry.stem);
    bool outboxThere = true;
    for (ClassEntry &entry : list(outboxFolder, ClassEntry::Waiting, &outboxThere)) {
        if (!handed.contains(entry.stem))
            result.entries.append(std::move(entry));
    }
    return result;
}

QVector<ClassEntry> ClassListing::list(const QString &dir, ClassEntry::State state, bool *reachable)
{
    QVector<ClassEntry> entries;
    QDir listed(dir);
    if (!listed.exists()) {
        *reachable = false;
        return entries;
    }
    // One directory listing; names alone decide which stems exist.
    const QFileInfoList files = listed.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    QHash<QString, int> kinds; // stem -> 1 data, 2 report
    for (const QFileInfo &file : files) {
        const QString name = file.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        if (name.endsWith(dataSuffix, Qt::CaseInsensitive))
            kinds[name.chopped(dataSuffix.size())] |= 1;
        else if (name.endsWith(reportSuffix, Qt::CaseInsensitive))
            kinds[name.chopped(reportSuffix.size())] |= 2;
    }
    QStringList stems = kinds.keys();
    stems.sort();
    for (const QString &stem : std::as_const(stems))
        entries.append(read(dir, stem, kinds.value(stem) & 1, kinds.value(stem) & 2, state));
    return entries;
}

ClassEntry ClassListing::read(const QString &dir, const QString &stem, bool hasData, bool hasReport,
                              ClassEntry::State state)
{
    const QString dataPath = QDir(dir).filePath(stem + dataSuffix);
    const QString reportPath = QDir(dir).filePath(stem + reportSuffix);
    const QString source = hasData ? dataPath : reportPath;
    const QFileInfo info(source);
    auto cached = cache.constFind(source);
    if (cached != cache.constEnd() && cached->size == info.size() && cached->modified == info.lastModified()
        && cached->entry.state == state && cached->entry.reportPath.isEmpty() == !hasReport)
        return cached->entry;

    ClassEntry entry;
    entry.stem = stem;
    entry.state = state;
    entry.dataPath = hasData ? dataPath : QString();
    entry.reportPath = hasReport ? reportPath : QString();
    entry.row.reportName = stem + reportSuffix;
    QFile file(source);
    QString reason;
    bool read = false;
    if (info.size() > largestFile)
        reason = tr("Filen er for stor til at være et resultat fra Skrivlo.");
    else if (!file.open(QIODevice::ReadOnly))
        reason = tr("Filen kan ikke læses: %1").arg(file.errorString());
    else if (hasData)
        read = LearnerDataText::parse(file.readAll(), &entry.row, &reason);
    else
        read = ReportScan::parse(stem + reportSuffix, QString::fromUtf8(file.readAll()), &entry.row, &reason);
    if (!read) {
        entry.state = ClassEntry::Unreadable;
        entry.problem = tr("%1: %2").arg(QFileInfo(source).fileName(), reason);
        entry.row = ResultRow();
        entry.row.reportName = stem + reportSuffix;
    }
    cache.insert(source, { info.size(), info.lastModified(), entry });
    return entry;
}

bool ClassListing::remove(const QString &classFolder, const QString &outbox, const QString &stem, QString *reason)
{
    const QFileInfo folderInfo(classFolder);
    if (!folderInfo.isDir()) {
        *reason = tr("Klassemappen %1 kan ikke nås, så intet er slettet. Prøv igen, når der er forbindelse.")
                          .arg(QDir::toNativeSeparators(classFolder));
        return false;
    }
    if (!folderInfo.isWritable()) {
        *reason = tr("Klassemappen %1 er skrivebeskyttet, så intet er slettet. Bed IT om lov til at skrive i den.")
                          .arg(QDir::toNativeSeparators(classFolder));
        return false;
    }
    QStringList left;
    for (const QString &dir : { classFolder, outbox }) {
        for (const QString &suffix : { dataSuffix, reportSuffix }) {
            QFile file(QDir(dir).filePath(stem + suffix));
            if (file.exists() && !file.remove())
                left.append(QDir::toNativeSeparators(file.fileName()) + QStringLiteral(" (") + file.errorString()
                            + QLatin1Char(')'));
        }
    }
    if (left.isEmpty())
        return true;
    *reason = tr("Disse filer kunne ikke slettes:\n%1").arg(left.join(QLatin1Char('\n')));
    return false;
}
