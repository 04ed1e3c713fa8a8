#include "archive/classlisting.h"

#include "archive/classkeys.h"
#include "archive/pdftarget.h"
#include "archive/safefile.h"
#include "model/learnerdatatext.h"
#include "model/learnerfilename.h"
#include "model/reportscan.h"
#include "sealing/keywrap.h"
#include "sealing/sealedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSet>

namespace {

const QString dataSuffix = QStringLiteral(".json");
const QString reportSuffix = QStringLiteral(".html");
const QString oldOverview = QStringLiteral("oversigt.csv");

QString tr(const char *text)
{
    return QCoreApplication::translate("ClassListing", text);
}

// The plain name a file of the folder stands for ("<stem>.json" for "<stem>.json.skrivlo").
QString plainOf(const QString &fileName)
{
    const QString plain = SealedFile::plainName(fileName);
    return plain.isEmpty() ? fileName : plain;
}

bool isSealed(const QString &fileName)
{
    return !SealedFile::plainName(fileName).isEmpty();
}

// The contents of a file of the folder, opened when sealed. False, with a Danish reason, for
// anything that must not be trusted: too large to be the program's, changed, cut off,
// renamed, or sealed with a key the password does not open.
bool contents(const QString &path, const Keyring &keys, QByteArray *plain, QString *reason)
{
    const QFileInfo info(path);
    QByteArray bytes;
    switch (SafeFile::readSmall(path, SealedFile::largestFile, &bytes)) {
    case SafeFile::Read::Done:
        break;
    case SafeFile::Read::TooLarge:
    case SafeFile::Read::NotPlain:
        *reason = tr("Filen er for stor, eller den er en genvej: Skrivlo skriver ingen af delene.");
        return false;
    case SafeFile::Read::Failed:
        *reason = tr("Filen kan ikke læses.");
        return false;
    }
    const QString name = info.fileName();
    if (!isSealed(name)) {
        *plain = bytes;
        return true;
    }
    switch (SealedFile::open(keys, plainOf(name), bytes, plain)) {
    case SealedFile::Opened::Yes:
        return true;
    case SealedFile::Opened::OtherKey:
        *reason = tr("Filen er beskyttet med en nøgle, som skolens password ikke åbner: den kommer fra en anden "
                     "klassemappe, eller den blev gemt med et password, der siden er skiftet.");
        return false;
    case SealedFile::Opened::NotSealed:
    case SealedFile::Opened::Changed:
        break;
    }
    *reason = tr("Filen er ændret, beskadiget eller omdøbt, efter Skrivlo gemte den.");
    return false;
}

} // namespace

ClassListing::ClassListing(const QString &classFolder, const QString &outbox, const Keys &keys)
    : folder(classFolder)
    , outboxFolder(outbox)
    , given(keys)
{
}

Keyring ClassListing::keys() const
{
    QMutexLocker lock(&keysGuard);
    return keyring;
}

// Every key the password opens: those this PC knows, the class folder's, those waiting in the
// outbox and the teacher's own. Each opened key is kept in the teacher's keyring.
void ClassListing::refreshKeys()
{
    if (given.password.isEmpty())
        return;
    QStringList lines = given.lines;
    lines += ClassKeys::linesIn(QDir(folder).filePath(ClassKeys::folderName()));
    lines += ClassKeys::linesIn(QDir(outboxFolder).filePath(ClassKeys::folderName()));
    if (!given.keyringFolder.isEmpty())
        lines += ClassKeys::linesIn(given.keyringFolder);
    Keyring known = keys();
    const QStringList opened = ClassKeys::open(&known, lines, given.password, &triedLines);
    if (opened.isEmpty())
        return;
    {
        QMutexLocker lock(&keysGuard);
        keyring = known;
    }
    cache.clear(); // a file that no key opened before may open now
    if (given.keyringFolder.isEmpty() || !QDir().mkpath(given.keyringFolder))
        return;
    for (const QString &line : opened) {
        const QString kept = QDir(given.keyringFolder).filePath(ClassKeys::publishedName(line).section(QLatin1Char('/'), 1));
        if (!QFileInfo::exists(kept))
            SafeFile::write(kept, line.toLatin1() + '\n');
    }
}

ClassListing::Result ClassListing::scan()
{
    refreshKeys();
    Result result;
    result.resolved = PdfTarget::resolveAll({ folder, outboxFolder });
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
    for (const ClassEntry &entry : std::as_const(result.entries))
        result.unsealed += entry.unsealed && entry.state == ClassEntry::Handed ? 1 : 0;
    // The overview PCs kept before holds every learner in the clear too.
    result.unsealed += QFileInfo::exists(QDir(folder).filePath(oldOverview)) ? 1 : 0;
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
    // One directory listing; names alone decide which stems exist. A sealed file goes before
    // a plain one of the same learner (left for a moment while old results are sealed).
    struct Files
    {
        QFileInfo data;
        QFileInfo report;
    };
    QHash<QString, Files> stems;
    for (const QFileInfo &file : listed.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString name = file.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        const QString plain = plainOf(name);
        const bool sealed = isSealed(name);
        for (const auto &[suffix, member] : { std::pair { dataSuffix, &Files::data },
                                              std::pair { reportSuffix, &Files::report } }) {
            if (!plain.endsWith(suffix, Qt::CaseInsensitive))
                continue;
            QFileInfo &slot = stems[plain.chopped(suffix.size())].*member;
            if (slot.fileName().isEmpty() || sealed)
                slot = file;
        }
    }
    QStringList names = stems.keys();
    names.sort();
    for (const QString &stem : std::as_const(names)) {
        Files &files = stems[stem];
        // The one file read for a learner is looked at once (link or not, size, time), and again
        // only when that changed; a link is never read. A report that is no source is checked
        // when it is opened (contents()), so a poll costs the listing and one look a learner.
        if (!files.data.fileName().isEmpty() && files.data.isSymLink())
            files.data = QFileInfo();
        const QFileInfo &source = files.data.fileName().isEmpty() ? files.report : files.data;
        if (source.fileName().isEmpty() || source.isSymLink())
            continue; // a link alone is no learner's
        entries.append(read(dir, stem, source, files.data.fileName(), files.report.fileName(), state));
    }
    return entries;
}

ClassEntry ClassListing::read(const QString &dir, const QString &stem, const QFileInfo &info, const QString &dataFile,
                              const QString &reportFile, ClassEntry::State state)
{
    const QString source = QDir(dir).filePath(dataFile.isEmpty() ? reportFile : dataFile);
    auto cached = cache.constFind(source);
    if (cached != cache.constEnd() && cached->size == info.size() && cached->modified == info.lastModified()
        && cached->entry.state == state && cached->entry.reportPath.isEmpty() == reportFile.isEmpty())
        return cached->entry;

    ClassEntry entry;
    entry.stem = stem;
    entry.state = state;
    entry.unsealed = !isSealed(info.fileName());
    entry.dataPath = dataFile.isEmpty() ? QString() : QDir(dir).filePath(dataFile);
    entry.reportPath = reportFile.isEmpty() ? QString() : QDir(dir).filePath(reportFile);
    entry.row.reportName = stem + reportSuffix;
    QByteArray plain;
    QString reason;
    bool read = contents(source, keys(), &plain, &reason);
    if (read && !dataFile.isEmpty()) {
        read = LearnerDataText::parse(plain, &entry.row, &reason);
    } else if (read && isSealed(reportFile)) {
        // A test still going on (its data file comes at the end): its name holds no start time,
        // so the report's last save stands for it.
        const QString named = info.lastModified().toString(QStringLiteral("yyyy-MM-dd HH.mm ")) + stem + reportSuffix;
        read = ReportScan::parse(named, QString::fromUtf8(plain), &entry.row, &reason);
        entry.row.reportName = stem + reportSuffix;
    } else if (read) {
        read = ReportScan::parse(stem + reportSuffix, QString::fromUtf8(plain), &entry.row, &reason);
    }
    // A data file that names another learner's report was put in this one's place.
    if (read && entry.row.reportName != stem + reportSuffix) {
        read = false;
        reason = tr("Filen hører til et andet resultat.");
    }
    if (!read) {
        entry.state = ClassEntry::Unreadable;
        entry.problem = tr("%1: %2").arg(info.fileName(), reason);
        entry.row = ResultRow();
        entry.row.reportName = info.fileName();
    }
    cache.insert(source, { info.size(), info.lastModified(), entry });
    return entry;
}

bool ClassListing::openReport(const ClassEntry &entry, QString *html, QString *reason) const
{
    if (entry.reportPath.isEmpty() || !QFileInfo::exists(entry.reportPath)) {
        *reason = tr("Resultatet findes ikke længere. Det er måske slettet på en anden pc.");
        return false;
    }
    QByteArray plain;
    if (!contents(entry.reportPath, keys(), &plain, reason))
        return false;
    *html = QString::fromUtf8(plain);
    return true;
}

int ClassListing::sealUnsealed(QString *reason)
{
    const Keyring known = keys();
    // Sealed with this PC's own key (its settings' or its working folder's), else with one of
    // this class folder's: never with a key the teacher opened in another class folder.
    std::shared_ptr<const ClassKey> key;
    const QStringList own = given.lines + ClassKeys::linesIn(QDir(folder).filePath(ClassKeys::folderName()));
    for (const QString &line : own) {
        key = known.find(KeyWrap::keyIdOf(line));
        if (key)
            break;
    }
    if (!key) {
        *reason = tr("Skrivlo har ingen nøgle til klassemappen endnu. Start en test på en af klassens pc'er først.");
        return 0;
    }
    QStringList failed;
    int sealed = 0;
    bool reachable = true;
    for (const ClassEntry &entry : list(folder, ClassEntry::Handed, &reachable)) {
        if (!entry.unsealed || entry.state != ClassEntry::Handed)
            continue;
        // A new name that holds nothing of the learner; the data file names its report anew.
        const QString pc = entry.row.pc.isEmpty() ? QStringLiteral("ARKIV") : entry.row.pc;
        const QString id = QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
        const QString stem = LearnerFileName::anonymousStem(pc, id);
        QVector<std::pair<QString, QByteArray>> files; // plain name -> contents
        QStringList originals;
        QString why;
        if (!entry.reportPath.isEmpty()) {
            QByteArray report;
            if (!contents(entry.reportPath, known, &report, &why)) {
                failed.append(QFileInfo(entry.reportPath).fileName() + QStringLiteral(": ") + why);
                continue;
            }
            files.append({ stem + reportSuffix, report });
            originals.append(entry.reportPath);
        }
        // A result kept before there were data files gets one too: its start was read from the
        // old name, which the new one no longer holds.
        ResultRow row = entry.row;
        row.reportName = stem + reportSuffix;
        files.append({ stem + dataSuffix, LearnerDataText::serialise(row) });
        if (!entry.dataPath.isEmpty())
            originals.append(entry.dataPath);
        bool written = true;
        for (const auto &[name, bytes] : files) {
            const QString path = QDir(folder).filePath(SealedFile::sealedName(name));
            QByteArray back;
            QByteArray opened;
            written = written && SafeFile::write(path, SealedFile::seal(*key, name, bytes))
                    && SafeFile::readSmall(path, SealedFile::largestFile, &back) == SafeFile::Read::Done
                    && SealedFile::open(known, name, back, &opened) == SealedFile::Opened::Yes && opened == bytes;
        }
        if (!written) {
            for (const auto &[name, bytes] : files)
                QFile::remove(QDir(folder).filePath(SealedFile::sealedName(name)));
            failed.append(entry.stem);
            continue;
        }
        for (const QString &original : std::as_const(originals)) {
            if (!QFile::remove(original))
                failed.append(QFileInfo(original).fileName());
        }
        ++sealed;
    }
    // The overview of before was made from these files; the view makes it now. Copies a teacher
    // changed by hand are hers to move: they are named, not deleted.
    const QString overview = QDir(folder).filePath(oldOverview);
    if (QFileInfo::exists(overview) && !QFile::remove(overview))
        failed.append(oldOverview);
    QStringList edited; // by hand, not by a name filter: see ClassKeys::linesIn
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        if (name.startsWith(QStringLiteral("oversigt rettet i hånden")) && name.endsWith(QLatin1String(".csv")))
            edited.append(name);
    }
    if (!failed.isEmpty())
        *reason = tr("Disse filer kunne ikke beskyttes:\n%1").arg(failed.join(QLatin1Char('\n')));
    if (!edited.isEmpty())
        *reason += (reason->isEmpty() ? QString() : QStringLiteral("\n\n"))
                + tr("Disse oversigter er rettet i hånden og er ikke beskyttet. Flyt dem et sikkert sted hen, "
                     "eller slet dem:\n%1").arg(edited.join(QLatin1Char('\n')));
    cache.clear();
    return sealed;
}
