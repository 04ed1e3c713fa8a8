// Writes the fuzzers' first corpus with the program's own writers, one folder per reader:
//     fuzz_makeseeds tests/fuzz/corpus
// Run again when a format changes; libFuzzer grows its own corpus from these in its run folder.

#include "archive/deletedlearners.h"
#include "model/learnerdatatext.h"
#include "model/recoverytext.h"
#include "model/reporttext.h"
#include "model/resultrow.h"
#include "sealing/keywrap.h"
#include "sealing/sealedfile.h"
#include "tests/fuzz/fuzzkey.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool put(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder).filePath(name));
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList details(const QString &name)
{
    return { "7/12-2026", "Sprogcenter Øst", name, "Vej 1", "1984", "9", "Nej", "", "" };
}

ResultRow row(const QString &name, int d1, std::array<int, 3> d2, bool finished)
{
    ResultRow r;
    r.started = QDateTime(QDate(2026, 12, 7), QTime(14, 23, 40));
    r.pc = QStringLiteral("PC1-0a0b0c");
    r.place = QStringLiteral("Sprogcenter Øst");
    r.name = name;
    r.birthYear = QStringLiteral("1984");
    r.dictation1Right = d1;
    r.dictation2Right = d2;
    r.finished = finished;
    r.reportName = QStringLiteral("PC1-0a0b0c 0a0b0c0d.html");
    return r;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_makeseeds <corpus folder>\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QString hostile = QStringLiteral("<img src=\"file:///dev/zero\">\u202E1 nirT");
    const QVector<std::pair<QString, ResultRow>> rows {
        { "trin1", row("Åse Ørnsø", 12, { -1, -1, -1 }, true) },
        { "trin3", row("Bo; \"Holm\"", 20, { 15, 14, 12 }, true) },
        { "unfinished", row("=1+1", 19, { -1, -1, -1 }, false) },
        { "hostile", row(hostile, 20, { 20, 20, 20 }, true) },
    };
    bool written = true;
    for (const auto &[name, r] : rows) {
        const QByteArray data = LearnerDataText::serialise(r);
        written = written && put(corpus.filePath("data"), name, data)
                && put(corpus.filePath("sealed"), name,
                       SealedFile::seal(*fuzzKey(), QString::fromUtf8(fuzzSealedName()), data));
    }

    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty.append(i < 14 ? QStringLiteral("ord") : QStringLiteral("<s>ort</s> (ord)"));
    const QString first = ReportText::header(details("Åse")) + ReportText::dictation1Section("03:10", twenty, 14);
    const QString second = ReportText::header(details(hostile)) + ReportText::dictation1Section("03:10", twenty, 20)
            + ReportText::dictation2Section("09:55", { { "kørte", "svømmede", "solen" } }, { 15, 14, 12 });
    written = written && put(corpus.filePath("report"), "trin1", first.toUtf8())
            && put(corpus.filePath("report"), "trin3", second.toUtf8())
            && put(corpus.filePath("report"), "unfinished", ReportText::unfinished(first).toUtf8());

    RecoveryState state;
    state.learner.started = QDateTime(QDate(2026, 12, 7), QTime(14, 23, 40, 120));
    state.learner.details = details(hostile);
    state.learner.reportName = QStringLiteral("PC1-0a0b0c 0a0b0c0d.html");
    state.learner.document = ReportText::header(state.learner.details);
    state.learner.dictation1Right = 19;
    state.learner.dictation2Right = { -1, -1, -1 };
    state.step = TestStep::Dictation2;
    state.fields.insert(QStringLiteral("word21"), QStringLiteral("svømmede"));
    state.workedMs = 61000;
    written = written && put(corpus.filePath("recovery"), "dictation2", RecoveryText::serialise(state));
    state = RecoveryState();
    state.step = TestStep::Details;
    state.learner.started = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    written = written && put(corpus.filePath("recovery"), "details", RecoveryText::serialise(state));

    written = written
            && put(corpus.filePath("keyline"), "line",
                   KeyWrap::wrap(*fuzzKey(), QString::fromLatin1(fuzzPassword()), KeyWrap::testCost()).toLatin1() + '\n');
    written = written
            && put(corpus.filePath("deleted"), "three",
                   DeletedLearners::text({ "PC1-0a0b0c 0a0b0c0d", "PC2-0a0b0d 00000001", "LAB03-5e1f0a ffffffff" }))
            && put(corpus.filePath("deleted"), "none", DeletedLearners::text({}));
    if (!written)
        std::fprintf(stderr, "fuzz_makeseeds: could not write the corpus\n");
    return written ? 0 : 1;
}
