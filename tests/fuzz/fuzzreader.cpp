// One reader of the files someone else may have written (data files, saved tests, old
// reports, sealed files, key lines, the list of deleted learners), fed whatever bytes libFuzzer makes of
// its corpus (tests/fuzz/corpus/<reader>). A learner's PC holds the class key, so a hostile
// learner can seal anything: every reader behind the seal must take any bytes. A crash, a
// sanitizer's finding, a hang or running out of memory is a fault.

#include "archive/deletedlearners.h"
#include "model/learnerdatatext.h"
#include "model/overviewtext.h"
#include "model/recoverytext.h"
#include "model/reportscan.h"
#include "model/reporttext.h"
#include "model/resultrow.h"
#include "sealing/keyring.h"
#include "sealing/keywrap.h"
#include "sealing/sealedfile.h"
#include "tests/fuzz/fuzzkey.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>

namespace {

// What the teacher's view does with a learner's row once read: the Trin and the spreadsheet's line.
void useRow(const ResultRow &row)
{
    volatile int level = row.level() + row.dictation2Total();
    (void)level;
    volatile int length = int(OverviewText::row(row).size());
    (void)length;
}

void readData(const QByteArray &bytes)
{
    ResultRow row;
    QString reason;
    if (LearnerDataText::parse(bytes, &row, &reason))
        useRow(row);
}

void readRecovery(const QByteArray &bytes)
{
    RecoveryState state;
    QString reason;
    RecoveryText::parse(bytes, &state, &reason);
}

void readReport(const QByteArray &bytes)
{
    ResultRow row;
    QString reason;
    const QString html = QString::fromUtf8(bytes);
    if (ReportScan::parse(QStringLiteral("2026-12-07 14.23 x.html"), html, &row, &reason))
        useRow(row);
    volatile bool shownAsReport = ReportText::isOwnMarkup(html); // what the view asks before showing it
    (void)shownAsReport;
}

void readSealed(const QByteArray &bytes)
{
    static const Keyring keys(fuzzKey());
    QByteArray plain;
    if (SealedFile::open(keys, QString::fromUtf8(fuzzSealedName()), bytes, &plain) == SealedFile::Opened::Yes)
        readData(plain);
}

void readKeyLine(const QByteArray &bytes)
{
    const QString line = QString::fromLatin1(bytes).trimmed();
    if (!KeyWrap::isWellFormed(line) || KeyWrap::keyIdOf(line).isEmpty())
        return;
    // Only a line of the cheapest cost is opened: a dearer one costs the fuzzer a second a try.
    const KeyWrap::Cost cost = KeyWrap::costOf(line);
    if (cost.passes == KeyWrap::testCost().passes && cost.memoryKiB == KeyWrap::testCost().memoryKiB)
        KeyWrap::unwrap(line, QString::fromLatin1(fuzzPassword()));
}

void readDeleted(const QByteArray &bytes)
{
    QSet<QString> ids;
    DeletedLearners::parse(bytes, &ids);
}

using Reader = void (*)(const QByteArray &);

Reader reader()
{
    static const Reader chosen = [] {
        const struct
        {
            const char *name;
            Reader read;
        } readers[] = { { "data", readData }, { "recovery", readRecovery }, { "report", readReport },
                        { "sealed", readSealed }, { "keyline", readKeyLine }, { "deleted", readDeleted } };
        for (const auto &candidate : readers) {
            if (std::strcmp(candidate.name, SKRIVLO_FUZZ_READER) == 0)
                return candidate.read;
        }
        return static_cast<Reader>(nullptr);
    }();
    return chosen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(SealedFile::largestFile))
        return 0; // never read: the class folder's readers stop at this size
    reader()(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
