#include "archive/overviewfile.h"

#include "archive/safefile.h"
#include "model/learnerdatatext.h"
#include "model/learnerfilename.h"
#include "model/overviewtext.h"
#include "model/reportscan.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <algorithm>

namespace OverviewFile {

namespace {

// A data file is a few hundred bytes; anything far larger is not one.
constexpr qint64 largestDataFile = 64 * 1024;
constexpr qint64 largestReport = 4 * 1024 * 1024;
constexpr qint64 largestOverview = 64 * 1024 * 1024;

QString tr(const char *text)
{
    return QCoreApplication::translate("OverviewFile", text);
}

QByteArray contents(const QString &path, qint64 largest)
{
    QFile file(path);
    if (!SafeFile::mayReplace(path) || !file.open(QIODevice::ReadOnly) || file.size() > largest)
        return QByteArray();
    return file.readAll();
}

// The report's file name, the last field of a row of ours; empty for anything else.
QString reportOf(const QString &line)
{
    const QString last = line.section(QLatin1Char(';'), -1);
    return last.endsWith(QLatin1String(".html")) ? last : QString();
}

// True when the file on disk holds a row that none of the data files gives, and whose report
// is still in the folder: a teacher's hand, not a learner the teacher's view removed.
bool editedByHand(const QString &classFolder, const QByteArray &existing, const QByteArray &made)
{
    if (existing.isEmpty() || existing == made)
        return false;
    const QString header = OverviewText::headerLine();
    QString text = QString::fromUtf8(existing);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    if (!text.startsWith(header))
        return true;
    QSet<QString> known;
    for (const QString &line : QString::fromUtf8(made).split(QStringLiteral("\r\n")))
        known.insert(line);
    const QDir folder(classFolder);
    for (const QString &line : text.mid(header.size()).split(QStringLiteral("\r\n"))) {
        if (line.isEmpty() || known.contains(line))
            continue;
        const QString report = reportOf(line);
        if (report.isEmpty() || QFileInfo::exists(folder.filePath(report))
            || QFileInfo::exists(folder.filePath(LearnerFileName::dataName(report))))
            return true;
    }
    return false;
}

} // namespace

QString fileName()
{
    return QStringLiteral("oversigt.csv");
}

QString path(const QString &classFolder)
{
    return QDir(classFolder).filePath(fileName());
}

QVector<ResultRow> rows(const QString &classFolder, int *skipped)
{
    QVector<ResultRow> found;
    int left = 0;
    const QDir folder(classFolder);
    for (const QString &name : folder.entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::Hidden)) {
        ResultRow row;
        QString reason;
        if (LearnerDataText::parse(contents(folder.filePath(name), largestDataFile), &row, &reason))
            found.append(row);
        else
            ++left;
    }
    // A result kept before each learner had a data file is read from its report, so it keeps
    // its row; a report whose data file is still on its way is not one of those.
    for (const QString &name : folder.entryList({ QStringLiteral("*.html") }, QDir::Files)) {
        if (QFileInfo::exists(folder.filePath(LearnerFileName::dataName(name))))
            continue;
        ResultRow row;
        QString reason;
        if (ReportScan::parse(name, QString::fromUtf8(contents(folder.filePath(name), largestReport)), &row, &reason))
            found.append(row);
    }
    std::sort(found.begin(), found.end(), [](const ResultRow &a, const ResultRow &b) {
        return std::tie(a.started, a.pc, a.name, a.reportName) < std::tie(b.started, b.pc, b.name, b.reportName);
    });
    if (skipped)
        *skipped = left;
    return found;
}

namespace {

QStringList dataFiles(const QString &classFolder)
{
    return QDir(classFolder).entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::Hidden, QDir::Name);
}

bool writeOnce(const QString &classFolder, QString *reason)
{
    const QByteArray made = OverviewText::document(rows(classFolder));
    const QString target = path(classFolder);
    if (!SafeFile::mayReplace(target)) {
        *reason = tr("Oversigten »%1« er ikke en almindelig fil.").arg(QDir::toNativeSeparators(target));
        return false;
    }
    const QByteArray existing = contents(target, largestOverview);
    if (existing == made)
        return true;
    if (editedByHand(classFolder, existing, made)) {
        const QString hash = QString::fromLatin1(QCryptographicHash::hash(existing, QCryptographicHash::Sha1).toHex().left(8));
        const QString aside = QDir(classFolder).filePath(tr("oversigt rettet i hånden %1.csv").arg(hash));
        if (!QFileInfo::exists(aside) && !SafeFile::write(aside, existing)) {
            *reason = tr("Oversigten er rettet i hånden, og den rettede udgave kan ikke gemmes ved siden af. "
                         "Oversigten er ikke skrevet om.");
            return false;
        }
    }
    if (!SafeFile::write(target, made)) {
        *reason = tr("Oversigten »%1« kan ikke skrives: den er måske åben i et andet program (fx Excel), "
                     "eller klassemappen tager ikke imod filer. Ingen resultater er tabt; oversigten "
                     "bliver lavet igen, næste gang en test afsluttes.")
                          .arg(QDir::toNativeSeparators(target));
        return false;
    }
    return true;
}

} // namespace

bool rewrite(const QString &classFolder, QString *reason)
{
    if (!QFileInfo(classFolder).isDir()) {
        *reason = tr("Klassemappen findes ikke eller kan ikke nås.");
        return false;
    }
    // Another copy may have written its overview from fewer data files just before this one
    // committed, or just after: each copy looks again after its own write, and the last
    // writer so always leaves an overview of every data file there is.
    // On a share, replacing a file that another PC is reading at that moment is refused (a
    // sharing conflict that lasts as long as the read): such a write is tried again after a
    // pause, when the other PC may also have written an overview that already has every row.
    constexpr int rounds = 8;
    constexpr int tries = 3;
    int failed = 0;
    for (int round = 0; round < rounds; ++round) {
        const QStringList before = dataFiles(classFolder);
        if (!writeOnce(classFolder, reason)) {
            if (++failed == tries)
                return false;
            QThread::msleep(400 * failed);
            continue;
        }
        if (dataFiles(classFolder) == before)
            return true;
    }
    return true;
}

} // namespace OverviewFile
