#include "archive/classkeys.h"
#include "archive/classlisting.h"
#include "archive/classrecovery.h"
#include "archive/deletedlearners.h"
#include "archive/foldercheck.h"
#include "archive/instancelock.h"
#include "archive/learnerarchive.h"
#include "archive/pcname.h"
#include "archive/recoveryfile.h"
#include "model/learnerdatatext.h"
#include "model/learnerfilename.h"
#include "model/overviewtext.h"
#include "model/recoverytext.h"
#include "model/reportscan.h"
#include "model/reporttext.h"
#include "safekeeping/classsync.h"
#include "safekeeping/recoveryoffer.h"
#include "sealing/keywrap.h"
#include "sealing/sealedfile.h"
#include "startup/folderprompt.h"
#include "tests/support/answerkey.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

// What is kept for every learner: safe file names, the overview's CSV, damaged recovery
// files and a test that is started again.
class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fileNameIsSafeAndShort_data();
    void fileNameIsSafeAndShort();
    void overviewRows_data();
    void overviewRows();
    void aChangedFileIsNeverCounted_data();
    void aChangedFileIsNeverCounted();
    void outboxSendsOnceWhenTheClassFolderIsBack();
    void unusableClassFolderCountsLearners_data();
    void unusableClassFolderCountsLearners();
    void namesStayApartAcrossPcs();
    void deletedListHoldsIdsOnly_data();
    void deletedListHoldsIdsOnly();
    void aTestMovesToAnotherPcOnce();
    void dataFileKeepsTheRow_data();
    void dataFileKeepsTheRow();
    void dataFileRefusesDamage_data();
    void dataFileRefusesDamage();
    void recoveryRefusesDamage_data();
    void recoveryRefusesDamage();
    void recoveryReadsWhatItWrites();
    void readersSurviveAnyBytes_data();
    void readersSurviveAnyBytes();
    void unfinishedReportIsClosedAndMarked();
    void startingAgainKeepsTheUnfinishedTest_data();
    void startingAgainKeepsTheUnfinishedTest();
    void savedTestThatCannotBeUsedIsKept_data();
    void savedTestThatCannotBeUsedIsKept();
    void linksAreNeverFollowed_data();
    void linksAreNeverFollowed();
    void leftoversOfCutOffWritesAreRemoved();
    void unwritableFolderOffersAnother_data();
    void unwritableFolderOffersAnother();

private:
    const WorkingFolder &folder() { return dir->session().folder(); }

    std::unique_ptr<TestFolder> dir;
};

namespace {

const QDateTime started(QDate(2026, 12, 7), QTime(14, 23, 40));

LearnerRecord learner(const QString &name, int d1, std::array<int, 3> d2, bool finished)
{
    LearnerRecord record;
    record.started = started;
    record.details = QStringList { QStringLiteral("7/12-2026"), QStringLiteral("Sprogcenter Nord"), name,
                                   QStringLiteral("Vej 1"), QStringLiteral("1980") };
    while (record.details.size() < ReportText::detailCount)
        record.details.append(QString()); // the form's other fields, left empty
    record.reportName = QStringLiteral("2026-12-07 14.23 x.html");
    record.dictation1Right = d1;
    record.dictation2Right = d2;
    record.finished = finished;
    return record;
}

} // namespace

void TestArchive::init()
{
    dir.reset();
    dir = std::make_unique<TestFolder>();
    QVERIFY(dir->isValid());
}

void TestArchive::fileNameIsSafeAndShort_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stem");
    const QString prefix = QStringLiteral("2026-12-07 14.23.40 ");
    QTest::newRow("Danish letters") << QString::fromUtf8("Åse Ørnsø") << prefix + QString::fromUtf8("Åse Ørnsø");
    QTest::newRow("refused characters") << QStringLiteral("a/b\\c:d*e?f\"g<h>i|j") << prefix + QStringLiteral("a_b_c_d_e_f_g_h_i_j");
    QTest::newRow("only dots") << QStringLiteral("...") << prefix + QStringLiteral("uden navn");
    QTest::newRow("only blanks") << QStringLiteral("   ") << prefix + QStringLiteral("uden navn");
    QTest::newRow("only refused") << QStringLiteral("//") << prefix + QStringLiteral("uden navn");
    QTest::newRow("line break and trailing dot") << QStringLiteral("Ali\nHassan.") << prefix + QStringLiteral("Ali Hassan");
    QTest::newRow("very long") << QString(400, QChar(0x00f8)) << QString();
    QTest::newRow("very long, outside the BMP") << QString::fromUcs4(U"\U0001F600").repeated(150) << QString();
}

void TestArchive::fileNameIsSafeAndShort()
{
    QFETCH(QString, name);
    QFETCH(QString, stem);
    const QString made = LearnerFileName::stem(started, name);
    if (!stem.isEmpty())
        QCOMPARE(made, stem);
    const QString longest = LearnerFileName::withCounter(made, 9999);
    QVERIFY2(longest.toUtf8().size() <= 255, qPrintable(QString::number(longest.toUtf8().size())));
    QVERIFY(longest.toUtf8().size() > 240 || !stem.isEmpty());
    QVERIFY(!made.back().isHighSurrogate());
    QVERIFY(QString::fromUtf8(longest.toUtf8()) == longest); // no character cut in half
}

void TestArchive::overviewRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("d1");
    QTest::addColumn<int>("d2k");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("row");
    const QString start = QStringLiteral("2026-12-07;14:23;Sprogcenter Nord;");
    const QString end = QStringLiteral(";1980;");
    QTest::newRow("trin 1 after dictation 1") << "Ali" << 12 << -1 << true
                                              << start + "Ali" + end + "12;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("dictation 2, Trin 3") << QString::fromUtf8("Åse Ørnsø") << 19 << 14 << true
                                         << start + QString::fromUtf8("Åse Ørnsø") + end + "19;14;9;15;38;3;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("quoted: semicolon, quote, line break") << "Ali; \"Bo\"\nHansen" << 19 << 14 << true
                                                          << start + "\"Ali; \"\"Bo\"\"\nHansen\"" + end + "19;14;9;15;38;3;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("formula kept as text") << "=SUM(A1)" << 5 << -1 << true
                                          << start + "'=SUM(A1)" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    // What a spreadsheet still reads as a formula: after a tab, a blank or a line break, or full width.
    QTest::newRow("formula after a tab") << "\t=1+1" << 5 << -1 << true
                                         << start + "'\t=1+1" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("formula after a blank") << " @SUM(A1)" << 5 << -1 << true
                                           << start + "' @SUM(A1)" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("formula on a second line") << "Ali\n-2+3" << 5 << -1 << true
                                              << start + "\"'Ali\n-2+3\"" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("full-width sign") << QString::fromUtf8("\xef\xbc\x9d" "1+1") << 5 << -1 << true
                                     << start + QString::fromUtf8("'\xef\xbc\x9d" "1+1") + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("formula after a carriage return") << "Ali\r+1" << 5 << -1 << true
                                                     << start + "\"'Ali\r+1\"" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("formula after a line separator") << QString::fromUtf8("Ali\xe2\x80\xa8" "-1") << 5 << -1 << true
                                                    << start + QString::fromUtf8("'Ali\xe2\x80\xa8" "-1") + end
                                                               + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("full width after an ideographic space") << QString::fromUtf8("\xe3\x80\x80\xef\xbc\xa0" "A1") << 5 << -1 << true
                                                           << start + QString::fromUtf8("'\xe3\x80\x80\xef\xbc\xa0" "A1") + end
                                                                      + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("a sign inside a line is text") << "Ali-Bo =1" << 5 << -1 << true
                                                  << start + "Ali-Bo =1" + end + "5;;;;;1;2026-12-07 14.23 x.html\r\n";
    QTest::newRow("not finished") << "Bo" << 19 << -1 << false
                                  << start + "Bo" + end + "19;;;;;Ikke afsluttet;2026-12-07 14.23 x.html\r\n";
}

void TestArchive::overviewRows()
{
    QFETCH(QString, name);
    QFETCH(int, d1);
    QFETCH(int, d2k);
    QFETCH(bool, finished);
    QFETCH(QString, row);
    const std::array<int, 3> d2 = d2k < 0 ? std::array<int, 3> { -1, -1, -1 } : std::array<int, 3> { d2k, 9, 15 };
    QCOMPARE(OverviewText::row(learner(name, d1, d2, finished)), row);
}

namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestArchive::aChangedFileIsNeverCounted_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("counted"); // the learners listed with their result
    QTest::addColumn<QString>("told");        // in the problem of the one row not counted
    const QStringList both { QStringLiteral("Ali"), QStringLiteral("Bo") };
    QTest::newRow("untouched") << "none" << both << QString();
    QTest::newRow("a byte changed") << "byte" << QStringList { "Bo" } << "ændret";
    QTest::newRow("cut off") << "cut" << QStringList { "Bo" } << "ændret";
    QTest::newRow("renamed to another learner's") << "rename" << QStringList { "Ali" } << "omdøbt";
    QTest::newRow("another class folder's key") << "otherKey" << QStringList { "Bo" } << "anden klassemappe";
    QTest::newRow("a learner's own key beside the class's") << "ownKey" << both << "anden klassemappe";
    QTest::newRow("an old plain file") << "plain" << QStringList { "Ali", "Bo", "Cem" } << QString();
    QTest::newRow("the wrapped key deleted") << "deleteKey" << both << QString();
    QTest::newRow("the wrapped key replaced") << "replaceKey" << both << QString();
}

// Files that fail their check are listed for what they are and never counted; the other
// learners stay; a key file deleted or replaced loses nothing once the teacher's view has
// kept the key, and a learner's own key is never taken.
void TestArchive::aChangedFileIsNeverCounted()
{
    QFETCH(QString, change);
    QFETCH(QStringList, counted);
    QFETCH(QString, told);
    const QString password = QStringLiteral("Rødgrød med fløde");
    const QDir classFolder(dir->session().classFolder());
    QTemporaryDir keyring;
    // Two learners sealed by a PC, and the PC's key published in the class folder.
    QStringList stems;
    for (const QString &name : { QStringLiteral("Ali"), QStringLiteral("Bo") }) {
        LearnerRecord record = learner(name, 19, { 14, 9, 15 }, true);
        const QString stem = LearnerFileName::anonymousStem(QStringLiteral("PC1-000001"), name.toLower() + "000000");
        record.reportName = stem + ".html";
        QVERIFY(dir->session().outbox().put(stem + ".json", LearnerDataText::serialise(ResultRow::fromRecord(record, "PC1-000001"))));
        stems.append(stem);
    }
    const QString line = KeyWrap::wrap(*testClassKey(), password, KeyWrap::testCost());
    QVERIFY(dir->session().outbox().putAsIs(ClassKeys::publishedName(line), line.toLatin1() + '\n'));
    QVERIFY(dir->session().outbox().send());
    const ClassListing::Keys keys { password, {}, keyring.path() };
    QCOMPARE(ClassListing(classFolder.path(), QString(), keys).scan().entries.size(), 2); // keeps the key
    const QString ali = classFolder.filePath(stems[0] + ".json.skrivlo");
    const QString bo = classFolder.filePath(stems[1] + ".json.skrivlo");
    const QString keyFile = classFolder.filePath(ClassKeys::publishedName(line));
    QByteArray bytes = contents(ali);
    if (change == QLatin1String("byte")) {
        bytes[bytes.size() - 20] = char(bytes[bytes.size() - 20] ^ 1);
        put(ali, bytes);
    } else if (change == QLatin1String("cut")) {
        put(ali, bytes.left(bytes.size() - 1));
    } else if (change == QLatin1String("rename")) {
        QVERIFY(QFile::remove(bo));
        QVERIFY(QFile::copy(ali, bo));
    } else if (change == QLatin1String("otherKey") || change == QLatin1String("ownKey")) {
        // A key made by someone else, under a password of their own, with a Trin 4 of its own.
        const std::shared_ptr<const ClassKey> other = ClassKey::generate();
        const QString otherLine = KeyWrap::wrap(*other, QStringLiteral("hemmelig elev"), KeyWrap::testCost());
        put(classFolder.filePath(ClassKeys::publishedName(otherLine)), otherLine.toLatin1());
        const QByteArray plain = openedWithTestKey(ali, stems[0] + ".json");
        QVERIFY(!plain.isEmpty());
        const QString name = change == QLatin1String("otherKey") ? stems[0] : QStringLiteral("PC9-000009 falsk");
        put(classFolder.filePath(name + ".json.skrivlo"), SealedFile::seal(*other, name + ".json", plain));
    } else if (change == QLatin1String("plain")) {
        LearnerRecord record = learner(QStringLiteral("Cem"), 12, { -1, -1, -1 }, true);
        record.reportName = QStringLiteral("2026-12-07 14.23 Cem.html");
        put(classFolder.filePath("2026-12-07 14.23 Cem.json"), LearnerDataText::serialise(ResultRow::fromRecord(record, "PC2")));
    } else if (change == QLatin1String("deleteKey")) {
        QVERIFY(QFile::remove(keyFile));
    } else if (change == QLatin1String("replaceKey")) {
        put(keyFile, KeyWrap::wrap(*ClassKey::generate(), password, KeyWrap::testCost()).toLatin1());
    }
    const ClassListing::Result result = ClassListing(classFolder.path(), QString(), keys).scan();
    QStringList names;
    QStringList problems;
    for (const ClassEntry &entry : result.entries) {
        if (entry.state == ClassEntry::Unreadable)
            problems.append(entry.problem);
        else
            names.append(entry.row.name);
        QCOMPARE(entry.unsealed, entry.row.name == QLatin1String("Cem"));
    }
    names.sort();
    QCOMPARE(names, counted);
    QCOMPARE(problems.size(), told.isEmpty() ? 0 : 1);
    QVERIFY2(told.isEmpty() || problems.first().contains(told), qPrintable(problems.value(0)));
    QCOMPARE(result.unsealed, change == QLatin1String("plain") ? 1 : 0);
}

// A class folder out of reach at the hand-in: the files wait in the outbox; once it is back
// they arrive once, byte-equal, and sending again changes nothing.
void TestArchive::outboxSendsOnceWhenTheClassFolderIsBack()
{
    const QString classFolder = dir->filePath(QStringLiteral("klasse"));
    Session session(WorkingFolder(dir->path()), MachineSettings(), classFolder, QStringLiteral("LAB07-3f9a2c"));
    QVERIFY(!session.outbox().put(QStringLiteral("a.html"), "report")); // never in the clear, not even before the password
    unlockForTest(session);
    QCOMPARE(session.classFolder(), classFolder);
    QVERIFY(session.outbox().put(QStringLiteral("a.html"), "report"));
    QVERIFY(session.outbox().put(QStringLiteral("gemte-test/LAB07-3f9a2c.json"), "saved"));
    QString reason;
    QVERIFY(!session.outbox().send(&reason));
    QVERIFY(reason.contains(QLatin1String("Klassemappen")));
    QCOMPARE(session.outbox().waiting().size(), 2);
    // Missing, its parent there (a share not mounted): neither a send nor a sign of life makes it.
    ClassRecovery::beat(classFolder, session.pcName());
    QVERIFY(!QFileInfo::exists(classFolder));
    QVERIFY(QDir().mkpath(classFolder));
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(session.outbox().send(&reason), qPrintable(reason));
        QVERIFY(session.outbox().waiting().isEmpty());
        QCOMPARE(openedWithTestKey(QDir(classFolder).filePath(QStringLiteral("a.html.skrivlo")), QStringLiteral("a.html")),
                 QByteArray("report"));
        QCOMPARE(openedWithTestKey(QDir(classFolder).filePath(QStringLiteral("gemte-test/LAB07-3f9a2c.json.skrivlo")),
                                   QStringLiteral("gemte-test/LAB07-3f9a2c.json")),
                 QByteArray("saved"));
        QCOMPARE(QDir(classFolder).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("a.html.skrivlo") });
        QVERIFY(session.outbox().put(QStringLiteral("a.html"), "report")); // the same learner sent twice
    }
}

void TestArchive::unusableClassFolderCountsLearners_data()
{
    QTest::addColumn<QStringList>("waiting"); // put into the outbox
    QTest::addColumn<QString>("count");       // the box's last line, or empty for none
    QTest::newRow("nothing waits") << QStringList() << "";
    QTest::newRow("one learner, two files") << QStringList { "LAB07 1a.html", "LAB07 1a.json" }
                                            << "Resultatet for 1 kursist venter allerede.";
    QTest::newRow("two learners and a saved test")
            << QStringList { "LAB07 1a.html", "LAB07 1a.json", "LAB07 2b.html", "LAB07 2b.json", "gemte-test/LAB07.json" }
            << "Resultaterne for 2 kursister venter allerede.";
}

// The box at the start names the class folder, not the outbox, and counts learners, not files.
void TestArchive::unusableClassFolderCountsLearners()
{
    QFETCH(QStringList, waiting);
    QFETCH(QString, count);
    const QString classFolder = dir->filePath(QStringLiteral("klasse"));
    QFile(classFolder).open(QIODevice::WriteOnly); // a file where the folder should be
    Session session(WorkingFolder(dir->path()), MachineSettings(), classFolder, QStringLiteral("LAB07-3f9a2c"));
    unlockForTest(session);
    for (const QString &name : waiting)
        QVERIFY(session.outbox().put(name, "x"));
    const auto box = answerMessageBox(QStringLiteral("Fortsæt"));
    ClassSync sync(session);
    sync.start(nullptr, false);
    QVERIFY(box->seen);
    QCOMPARE(box->title, QStringLiteral("Klassemappen kan ikke bruges"));
    QCOMPARE(box->buttons, QStringList { QStringLiteral("Fortsæt") });
    QVERIFY(box->text.contains(QDir::toNativeSeparators(classFolder)));
    QVERIFY2(!box->text.contains(QDir::toNativeSeparators(session.outbox().path())), qPrintable(box->text));
    QVERIFY2(box->text.endsWith(count), qPrintable(box->text));
    if (count.isEmpty())
        QVERIFY(!box->text.contains(QStringLiteral("venter allerede")));
}

// Two PCs, the same second, names that differ only in case: the names differ also where
// case is ignored, and each copy of the program keeps the name it was given.
void TestArchive::namesStayApartAcrossPcs()
{
    const QString a = LearnerFileName::stem(started, QString::fromUtf8("åse ørnsø"), QStringLiteral("LAB07-3f9a2c"));
    const QString b = LearnerFileName::stem(started, QString::fromUtf8("Åse Ørnsø"), QStringLiteral("LAB08-00a1b2"));
    const QString c = LearnerFileName::stem(started, QString::fromUtf8("Åse Ørnsø"), QStringLiteral("LAB07-3f9a2d"));
    QCOMPARE(a, QString::fromUtf8("2026-12-07 14.23.40 åse ørnsø [LAB07-3f9a2c]"));
    QVERIFY(a.compare(b, Qt::CaseInsensitive) != 0 && b.compare(c, Qt::CaseInsensitive) != 0);
    QCOMPARE(LearnerFileName::dataName(LearnerFileName::withCounter(a, 2)), a + QStringLiteral(" (2).json"));

    const QString pc = PcName::ofThisCopy(dir->path());
    QVERIFY2(PcName::isWellFormed(pc), qPrintable(pc));
    QCOMPARE(PcName::ofThisCopy(dir->path()), pc);
    QTemporaryDir other;
    QVERIFY(PcName::ofThisCopy(other.path()) != pc);
    QCOMPARE(PcName::hostPart(QStringLiteral("lærer-pc_07.skole.local")), QStringLiteral("L-RER-PC-07"));
}

// PC 1 dies in Dictation 2: its saved test is offered at PC 2 only once it is no longer
// refreshed, PC 2 takes it over, and PC 1, started again, sees that it went on elsewhere.
void TestArchive::aTestMovesToAnotherPcOnce()
{
    const QString classFolder = dir->filePath(QStringLiteral("klasse"));
    QVERIFY(QDir().mkpath(classFolder));
    QTemporaryDir work1, work2;
    Session pc1(WorkingFolder(work1.path()), MachineSettings(), classFolder, QStringLiteral("PC1-000001"));
    Session pc2(WorkingFolder(work2.path()), MachineSettings(), classFolder, QStringLiteral("PC2-000002"));
    unlockForTest(pc1);
    unlockForTest(pc2);
    RecoveryState state;
    state.learner = learner(QStringLiteral("Bo"), 20, { -1, -1, -1 }, false);
    state.learner.reportName = QStringLiteral("PC1-000001 0badc0de.html");
    state.step = TestStep::Dictation2;
    state.fields.insert(QStringLiteral("word21"), QStringLiteral("svar"));
    ClassRecovery::put(pc1, RecoveryText::serialise(state));
    QVERIFY(pc1.outbox().send());
    const QDateTime now = QDateTime::currentDateTime();
    QVERIFY(ClassRecovery::leftByOthers(pc2, now).isEmpty()); // saved a moment ago: still running
    QVERIFY(ClassRecovery::leftByOthers(pc1, now.addSecs(600)).isEmpty()); // never its own
    // A PC of another class folder (another key) cannot open it, so it is not offered there.
    QTemporaryDir work3;
    Session pc3(WorkingFolder(work3.path()), MachineSettings(), classFolder, QStringLiteral("PC3-000003"));
    pc3.unlock(ClassKey::generate(), Keyring());
    QVERIFY(ClassRecovery::leftByOthers(pc3, now.addSecs(600)).isEmpty());
    // Judged by the share's clock, not this PC's: the copy left ten minutes ago by the
    // share's time is offered, whatever time this PC believes it is.
    QVERIFY(ClassRecovery::leftByOthers(pc2).isEmpty());
    QFile copy(QDir(classFolder).filePath(QStringLiteral("gemte-test/PC1-000001.json.skrivlo")));
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(copy.setFileTime(QFileInfo(copy).lastModified().addSecs(-600), QFileDevice::FileModificationTime));
    copy.close();
    const QVector<ClassRecovery::Found> found = ClassRecovery::leftByOthers(pc2);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().pc, QStringLiteral("PC1-000001"));
    QVERIFY(found.first().state == state);
    QString reason, where;
    QVERIFY(!ClassRecovery::continuedElsewhere(pc1, state, &where));
    QVERIFY2(ClassRecovery::takeOver(pc2, found.first(), &reason), qPrintable(reason));
    QVERIFY(ClassRecovery::leftByOthers(pc2, now.addSecs(600)).isEmpty());
    QVERIFY(!ClassRecovery::takeOver(pc2, found.first(), &reason)); // a third PC comes too late
    QVERIFY(!reason.isEmpty());
    QVERIFY(ClassRecovery::continuedElsewhere(pc1, state, &where));
    QCOMPARE(where, QStringLiteral("PC2-000002"));

    // PC 1 was not dead after all (a clock minutes off): it learns of it before its next write
    // there, and its report never replaces PC 2's under the same name; it is kept, not sent.
    const QString report = state.learner.reportName;
    QVERIFY(pc2.outbox().put(report, "PC 2"));
    QVERIFY(pc2.outbox().send());
    pc1.learner() = state.learner;
    QVERIFY(pc1.outbox().put(report, "PC 1"));
    ClassSync sync(pc1);
    QSignalSpy told(&sync, &ClassSync::continuedElsewhere);
    sync.sendNow();
    QVERIFY(told.wait());
    QCOMPARE(told.first().first().toString(), QStringLiteral("PC2-000002"));
    QCOMPARE(openedWithTestKey(QDir(classFolder).filePath(report + SealedFile::suffix()), report), QByteArray("PC 2"));
    QVERIFY(pc1.outbox().waiting().isEmpty());
    QDirIterator kept(work1.path(), { QLatin1Char('*') + report + SealedFile::suffix() }, QDir::Files,
                      QDirIterator::Subdirectories);
    QVERIFY(kept.hasNext());
    QCOMPARE(openedWithTestKey(kept.next(), report), QByteArray("PC 1"));

    // A link put in the place of the folder of copies is not followed: what it leads to is not
    // offered, though the same folder in its place is.
    QTemporaryDir work4;
    Session pc4(WorkingFolder(work4.path()), MachineSettings(), classFolder, QStringLiteral("PC4-000004"));
    unlockForTest(pc4);
    ClassRecovery::put(pc4, RecoveryText::serialise(state));
    QVERIFY(pc4.outbox().send());
    QFile left(QDir(classFolder).filePath(QStringLiteral("gemte-test/PC4-000004.json.skrivlo")));
    QVERIFY(left.open(QIODevice::ReadWrite));
    QVERIFY(left.setFileTime(QFileInfo(left).lastModified().addSecs(-600), QFileDevice::FileModificationTime));
    left.close();
    const QString copies = QDir(classFolder).filePath(ClassRecovery::folderName());
    QVERIFY(QDir().rename(copies, copies + QStringLiteral(" andet")) && QFile::link(copies + QStringLiteral(" andet"), copies));
    QVERIFY(ClassRecovery::leftByOthers(pc2).isEmpty());
    QVERIFY(QFile::remove(copies) && QDir().rename(copies + QStringLiteral(" andet"), copies));
    QCOMPARE(ClassRecovery::leftByOthers(pc2).size(), 1);
}

// The list of deleted learners names learners by id and nothing else: a name of the time
// before ids, a path or a line in another form never gets in, and nothing else is read as one.
void TestArchive::deletedListHoldsIdsOnly_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("id");
    QTest::newRow("report, sealed") << "PC1-000001 1a2b3c4d.html.skrivlo" << "PC1-000001 1a2b3c4d";
    QTest::newRow("data file, plain") << "LAB07-3f9a2c 00ff00ff.json" << "LAB07-3f9a2c 00ff00ff";
    QTest::newRow("a saved test's copy") << "PC1-000001.json.skrivlo" << "";
    QTest::newRow("named, of before ids") << "2026-12-07 14.23.07 Åse Ørnsø [LAB07-3f9a2c].html" << "";
    QTest::newRow("capital hex") << "PC1-000001 1A2B3C4D.json" << "";
    QTest::newRow("a path") << "../PC1-000001 1a2b3c4d.json" << "";
    QTest::newRow("another ending") << "PC1-000001 1a2b3c4d.pdf" << "";
}

void TestArchive::deletedListHoldsIdsOnly()
{
    QFETCH(QString, fileName);
    QFETCH(QString, id);
    QCOMPARE(DeletedLearners::idOf(fileName), id);
    // Whatever a line holds, only a well-formed id is read back from the list.
    QByteArray text = DeletedLearners::text({ QStringLiteral("PC2-000002 abcdef01") });
    text += fileName.toUtf8() + '\n' + id.toUtf8() + '\n';
    QSet<QString> ids;
    QVERIFY(DeletedLearners::parse(text, &ids));
    QSet<QString> expected { QStringLiteral("PC2-000002 abcdef01") };
    if (!id.isEmpty())
        expected.insert(id);
    QCOMPARE(ids, expected);
    QVERIFY(!DeletedLearners::parse(fileName.toUtf8() + '\n' + id.toUtf8(), &ids)); // not a list
}

void TestArchive::dataFileKeepsTheRow_data()
{
    QTest::addColumn<int>("d1");
    QTest::addColumn<int>("d2k");
    QTest::addColumn<bool>("finished");
    QTest::newRow("trin 1 after dictation 1") << 12 << -1 << true;
    QTest::newRow("dictation 2, Trin 3") << 19 << 14 << true;
    QTest::newRow("not finished in dictation 1") << -1 << -1 << false;
}

// The data file gives back exactly the row it was made from, and the overview line made
// from it is the one made from the learner's record.
void TestArchive::dataFileKeepsTheRow()
{
    QFETCH(int, d1);
    QFETCH(int, d2k);
    QFETCH(bool, finished);
    const std::array<int, 3> d2 = d2k < 0 ? std::array<int, 3> { -1, -1, -1 } : std::array<int, 3> { d2k, 9, 15 };
    LearnerRecord record = learner(QString::fromUtf8("Åse; \"Ørnsø\""), d1, d2, finished);
    record.started.setTime(QTime(14, 23, 7));
    const ResultRow row = ResultRow::fromRecord(record, QStringLiteral("PC-07"));
    ResultRow read;
    QString reason;
    QVERIFY2(LearnerDataText::parse(LearnerDataText::serialise(row), &read, &reason), qPrintable(reason));
    QCOMPARE(read, row);
    QCOMPARE(read.started.time().second(), 7);
    QCOMPARE(OverviewText::row(read), OverviewText::row(record));
}

void TestArchive::dataFileRefusesDamage_data()
{
    ResultRow row = ResultRow::fromRecord(learner(QStringLiteral("Bo"), 19, { 14, 9, 15 }, true),
                                          QStringLiteral("PC-07"));
    const QByteArray good = LearnerDataText::serialise(row);
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QString damaged = QStringLiteral("beskadiget");
    QTest::newRow("cut off") << good.left(good.size() / 2) << damaged;
    QTest::newRow("not ours") << QByteArray("{\"version\": 1}") << "ikke fra Skrivlo";
    QTest::newRow("newer version") << QByteArray(good).replace("\"version\": 1", "\"version\": 2") << "nyere";
    QTest::newRow("name not text") << QByteArray(good).replace("\"name\": \"Bo\"", "\"name\": 5") << damaged;
    QTest::newRow("total not the sum") << QByteArray(good).replace("\"dictation2Total\": 38", "\"dictation2Total\": 39") << damaged;
    QTest::newRow("wrong trin") << QByteArray(good).replace("\"trin\": 3", "\"trin\": 4") << damaged;
    QTest::newRow("dictation 1 out of range") << QByteArray(good).replace("\"dictation1\": 19", "\"dictation1\": 21") << damaged;
    QTest::newRow("report outside the folder") << QByteArray(good).replace("\"report\": \"", "\"report\": \"../") << damaged;
    QTest::newRow("no time") << QByteArray(good).replace("2026-12-07T", "2026-12-07 ") << damaged;
}

void TestArchive::dataFileRefusesDamage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    ResultRow read;
    QString given;
    QVERIFY(!LearnerDataText::parse(bytes, &read, &given));
    QVERIFY2(given.contains(reason), qPrintable(given));
}

void TestArchive::recoveryRefusesDamage_data()
{
    RecoveryState state;
    state.learner = learner(QStringLiteral("Bo"), 19, { -1, -1, -1 }, false);
    state.learner.details = QStringList(9, QStringLiteral("x"));
    state.step = TestStep::Dictation1;
    const QByteArray good = RecoveryText::serialise(state);
    RecoveryState read;
    QString reason;
    QVERIFY2(RecoveryText::parse(good, &read, &reason), qPrintable(reason)); // each row spoils one thing
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QString damaged = QStringLiteral("beskadiget");
    QTest::newRow("cut off") << good.left(good.size() / 2) << damaged;
    QTest::newRow("empty") << QByteArray() << damaged;
    QTest::newRow("not ours") << QByteArray("{\"a\": 1}") << damaged;
    QTest::newRow("binary") << QByteArray(300, '\0') << damaged;
    QTest::newRow("other version") << QByteArray(good).replace("\"version\": 1", "\"version\": 7") << "anden version";
    QTest::newRow("report name leaves its folder") << QByteArray(good).replace("14.23 x.html", "../../x.html") << damaged;
    QTest::newRow("page out of range") << QByteArray(good).replace("\"page\": 3", "\"page\": 42") << damaged;
    // Valid format, version and page, but not what the program writes.
    auto with = [&good](const char *key, const QJsonValue &value) {
        QJsonObject root = QJsonDocument::fromJson(good).object();
        if (value.isUndefined())
            root.remove(QLatin1String(key));
        else
            root.insert(QLatin1String(key), value);
        return QJsonDocument(root).toJson();
    };
    QTest::newRow("fields a list") << with("fields", QJsonArray { 1, 2 }) << damaged;
    QTest::newRow("a field not text") << with("fields", QJsonObject { { "word1", 5 } }) << damaged;
    QTest::newRow("a field the program has not") << with("fields", QJsonObject { { "passwordEdit", "x" } }) << damaged;
    QTest::newRow("details a text") << with("details", "x") << damaged;
    QTest::newRow("details too few") << with("details", QJsonArray { "a", "b" }) << damaged;
    QTest::newRow("document a number") << with("document", 5) << damaged;
    QTest::newRow("document not from the details") << with("document", "<html>") << damaged;
    QTest::newRow("started not a time") << with("started", "i går") << damaged;
    QTest::newRow("dictation 1 count out of range") << with("dictation1Right", 21) << damaged;
    QTest::newRow("dictation 1 count not whole") << with("dictation1Right", 19.5) << damaged;
    QTest::newRow("dictation 2 counts too few") << with("dictation2Right", QJsonArray { 1, 2 }) << damaged;
    QTest::newRow("dictation 2 counts half taken") << with("dictation2Right", QJsonArray { 1, -1, 2 }) << damaged;
    QTest::newRow("dictation 2 without passing dictation 1") << with("page", 5).replace("\"dictation1Right\": 19", "\"dictation1Right\": 3") << damaged;
    QTest::newRow("time worked negative") << with("workedMs", -1) << damaged;
    QTest::newRow("time worked a text") << with("workedMs", "1000") << damaged;
    QTest::newRow("report name not a report") << with("reportName", "oversigt.csv") << damaged;
    QTest::newRow("a key too many") << with("extra", true) << damaged;
    QTest::newRow("a key missing") << with("fields", QJsonValue(QJsonValue::Undefined)) << damaged;
    QTest::newRow("version as text") << with("version", "1") << "anden version";
}

void TestArchive::recoveryRefusesDamage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    RecoveryState read;
    QString given;
    QVERIFY(!RecoveryText::parse(bytes, &read, &given));
    QVERIFY2(given.contains(reason), qPrintable(given));
}

// What the program writes it reads back, exactly.
void TestArchive::recoveryReadsWhatItWrites()
{
    RecoveryState state;
    state.learner = learner(QStringLiteral("Bo"), 19, { 12, 9, 15 }, false);
    state.learner.details = QStringList(9, QStringLiteral("x"));
    state.learner.document = ReportText::header(state.learner.details);
    state.step = TestStep::Dictation2;
    state.fields.insert(QStringLiteral("nameEdit"), QStringLiteral("Bo"));
    state.fields.insert(QStringLiteral("word80"), QStringLiteral("sidst"));
    state.workedMs = 61234;
    RecoveryState read;
    QString reason;
    QVERIFY2(RecoveryText::parse(RecoveryText::serialise(state), &read, &reason), qPrintable(reason));
    QVERIFY(read == state);
}

void TestArchive::readersSurviveAnyBytes_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("seed"); // a real file of its kind, to mutate
    RecoveryState state;
    state.learner = learner(QStringLiteral("Bo"), 19, { 12, 9, 15 }, false);
    state.learner.details = QStringList(9, QStringLiteral("x"));
    state.learner.document = ReportText::header(state.learner.details);
    state.step = TestStep::Dictation2;
    state.fields.insert(QStringLiteral("word21"), QStringLiteral("svar"));
    const ResultRow row = ResultRow::fromRecord(learner(QStringLiteral("Åse"), 19, { 14, 9, 15 }, true), "PC-07");
    const QString line = KeyWrap::wrap(*testClassKey(), QStringLiteral("kanelsnegle"), KeyWrap::testCost());
    QTest::newRow("data file") << "data" << LearnerDataText::serialise(row);
    QTest::newRow("saved test") << "recovery" << RecoveryText::serialise(state);
    QTest::newRow("old report") << "report" << (state.learner.document + ReportText::dictation1Section(
            QStringLiteral("01:00"), QStringList(20, QStringLiteral("ord")), 20)).toUtf8();
    QTest::newRow("sealed file") << "sealed" << SealedFile::seal(*testClassKey(), "a.json", LearnerDataText::serialise(row));
    QTest::newRow("wrapped key") << "key" << line.toLatin1();
}

// Every reader of a file someone else may have written takes any bytes without crashing or
// hanging: thousands of mutations of a real file (bits flipped, bytes cut, copied and put in),
// the same each run. The sanitizer build runs it too.
void TestArchive::readersSurviveAnyBytes()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, seed);
    QRandomGenerator random(20261209);
    const Keyring keys(testClassKey());
    const int rounds = reader == QLatin1String("key") ? 60 : 3000; // a key line costs a derivation
    int accepted = 0;
    for (int round = 0; round < rounds; ++round) {
        QByteArray bytes = seed;
        for (int change = 1 + random.bounded(4); change > 0 && !bytes.isEmpty(); --change) {
            const int at = random.bounded(bytes.size());
            switch (random.bounded(5)) {
            case 0: bytes[at] = char(bytes[at] ^ (1 << random.bounded(8))); break;
            case 1: bytes.truncate(at); break;
            case 2: bytes.insert(at, bytes.mid(random.bounded(bytes.size()), random.bounded(64))); break;
            case 3: bytes.insert(at, char(random.bounded(256))); break;
            default: bytes.remove(at, random.bounded(16)); break;
            }
        }
        QString reason;
        bool read = false;
        if (reader == QLatin1String("data")) {
            ResultRow row;
            read = LearnerDataText::parse(bytes, &row, &reason);
        } else if (reader == QLatin1String("recovery")) {
            RecoveryState state;
            read = RecoveryText::parse(bytes, &state, &reason);
        } else if (reader == QLatin1String("report")) {
            ResultRow row;
            read = ReportScan::parse(QStringLiteral("2026-12-07 14.23 x.html"), QString::fromUtf8(bytes), &row, &reason);
        } else if (reader == QLatin1String("sealed")) {
            QByteArray plain;
            read = SealedFile::open(keys, "a.json", bytes, &plain) == SealedFile::Opened::Yes;
            QVERIFY(!read || bytes == seed); // a sealed file opens only as it was written
        } else {
            read = KeyWrap::unwrap(QString::fromLatin1(bytes), QStringLiteral("kanelsnegle")) != nullptr;
        }
        accepted += read ? 1 : 0;
        QVERIFY(read || !reason.isEmpty() || reader == QLatin1String("sealed") || reader == QLatin1String("key"));
    }
    QVERIFY(accepted < rounds); // the mutations did reach the readers
}

void TestArchive::unfinishedReportIsClosedAndMarked()
{
    const QString open = ReportText::header(QStringList(9, QStringLiteral("x")));
    const QString closed = open + ReportText::dictation1Section(QStringLiteral("01:00"), QStringList(20, QStringLiteral("-")), 0);
    const QString mark = QStringLiteral("<p>\n<small>\n<b>Testen blev ikke afsluttet.</b>\n</small>\n\n</body>\n</html>\n");
    QCOMPARE(ReportText::unfinished(open), open + mark);
    QVERIFY(closed.endsWith(QLatin1String("Trin 1\n</small>\n\n</body>\n</html>\n")));
    QCOMPARE(ReportText::unfinished(closed), closed.chopped(16) + mark);
}

void TestArchive::startingAgainKeepsTheUnfinishedTest_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("answered"); // right answers typed into Dictation 1
    QTest::addColumn<QByteArray>("kept"); // in the kept report
    QTest::addColumn<int>("right");       // Dictation 1 in the kept data file, -1 for none
    // Before the form was left: the typed details make the kept report and the row.
    QTest::newRow("in the form") << int(TestStep::Details) << 0
                                 << QByteArray("Navn: Ida<br>\nAdresse: <br>\nF\xc3\xb8" "dsels\xc3\xa5r: 2001<br>")
                                 << -1;
    // In Dictation 1 after 11 answers: judged as at a hand-in.
    QTest::newRow("dictation 1 after 11 answers")
            << int(TestStep::Dictation1) << 11
            << QByteArray("<h3>Diktat 1 [01:05]</h3>\n\n<p>\n<small>\n<font color=\"green\">k\xc3\xb8rte</font>, ")
            << 11;
}

// "Start forfra" keeps everything typed, sealed in the class folder under a name without the
// learner's, marked as not finished, and the offer says so.
void TestArchive::startingAgainKeepsTheUnfinishedTest()
{
    QFETCH(int, step);
    QFETCH(int, answered);
    QFETCH(QByteArray, kept);
    QFETCH(int, right);
    RecoveryState state;
    state.learner.started = started;
    state.step = TestStep(step);
    state.fields.insert(QStringLiteral("nameEdit"), QStringLiteral("Ida"));
    state.fields.insert(QStringLiteral("birthYearEdit"), QStringLiteral("2001"));
    if (state.step != TestStep::Details) {
        state.learner.details = LearnerArchive::typedDetails(state);
        state.learner.document = ReportText::header(state.learner.details);
        state.workedMs = 65000;
    }
    for (int i = 1; i <= answered; ++i)
        state.fields.insert(RecoveryText::answerKey(i), AnswerKey::word(i));
    QVERIFY(RecoveryFile::write(folder(), *testClassKey(), state));
    auto offer = answerMessageBox(QStringLiteral("Start forfra"));
    RecoveryState read;
    QCOMPARE(RecoveryOffer::ask(nullptr, dir->session(), &read), RecoveryOffer::Choice::StartAfresh);
    QVERIFY2(offer->text.contains(QStringLiteral("ufærdige test i klassemappen med alle svar")), qPrintable(offer->text));
    // The name as typed, kept apart from the time after it.
    QVERIFY2(offer->text.contains(QStringLiteral("Navn: \u2068Ida\u2069\n")), qPrintable(offer->text));
    QVERIFY(!RecoveryFile::exists(folder()));

    const QDir classFolder(dir->session().classFolder());
    const QStringList reports = classFolder.entryList({ QStringLiteral("*.html.skrivlo") });
    QCOMPARE(reports.size(), 1);
    const QString stem = reports.first().chopped(QStringLiteral(".html.skrivlo").size());
    QVERIFY2(stem.startsWith(dir->session().pcName() + ' ') && !stem.contains(QLatin1String("Ida")), qPrintable(stem));
    const QByteArray report = openedWithTestKey(classFolder.filePath(reports.first()), stem + ".html");
    QVERIFY2(report.contains(kept), report.constData());
    QCOMPARE(report.count("<font color=\"green\">"), answered);
    QVERIFY(report.endsWith("<b>Testen blev ikke afsluttet.</b>\n</small>\n\n</body>\n</html>\n"));
    ResultRow row;
    QString reason;
    QVERIFY(LearnerDataText::parse(openedWithTestKey(classFolder.filePath(stem + ".json.skrivlo"), stem + ".json"), &row, &reason));
    QVERIFY(!row.finished);
    QCOMPARE(row.name, QStringLiteral("Ida"));
    QCOMPARE(row.dictation1Right, right);
    QVERIFY(dir->session().outbox().waiting().isEmpty());
}

void TestArchive::savedTestThatCannotBeUsedIsKept_data()
{
    QTest::addColumn<QString>("kind"); // "changed", "plain" (an older version's, in the clear), else whole but
                                       // the teacher starts again and it cannot be kept
    QTest::addColumn<bool>("deep"); // the folder lies so deep that a longer name no longer fits
    QTest::addColumn<QString>("asideAs");
    QTest::newRow("changed") << "changed" << false << QString::fromUtf8("skrivlo-gemt-test ulæselig ");
    QTest::newRow("in the clear") << "plain" << false << QString::fromUtf8("skrivlo-gemt-test ulæselig ");
    QTest::newRow("not kept") << "whole" << false << QStringLiteral("skrivlo-gemt-test ikke gemt i klassemappen ");
    QTest::newRow("changed, cannot be set aside") << "changed" << true << QString();
    QTest::newRow("not kept, cannot be set aside") << "whole" << true << QString();
}

// A saved test that cannot be continued is put aside under a name that says why, and the
// next test starts; one that cannot even be put aside (on Windows: a path beyond its limit, a
// file held open) stays untouched where it is, and nothing starts that would write over it.
void TestArchive::savedTestThatCannotBeUsedIsKept()
{
    QFETCH(QString, kind);
    QFETCH(bool, deep);
    QFETCH(QString, asideAs);
    const bool damaged = kind != QLatin1String("whole");
    QString path = dir->path();
    if (deep) {
        // The saved test's path fits the system's limit of 4096 bytes; a name set aside does not.
        while (path.toUtf8().size() < 4050)
            path += QLatin1Char('/') + QString(qBound(1, 4050 - int(path.toUtf8().size()) - 1, 200), QLatin1Char('d'));
        QVERIFY(QDir().mkpath(path));
    }
    // Without an outbox, a test started again cannot be kept.
    put(QDir(path).filePath(Outbox::folderName()), "not a folder");
    Session session{ WorkingFolder(path) };
    unlockForTest(session);
    RecoveryState written;
    written.learner.started = started;
    written.step = TestStep::Details;
    written.fields.insert(QStringLiteral("nameEdit"), QStringLiteral("Ida"));
    QVERIFY(RecoveryFile::write(session.folder(), *testClassKey(), written));
    const QString file = kind == QLatin1String("plain") ? RecoveryFile::unsealedPath(session.folder())
                                                        : RecoveryFile::path(session.folder());
    QByteArray saved = contents(RecoveryFile::path(session.folder()));
    if (kind == QLatin1String("changed"))
        saved[saved.size() - 3] = char(saved[saved.size() - 3] ^ 1);
    if (kind == QLatin1String("plain")) {
        QVERIFY(QFile::remove(RecoveryFile::path(session.folder())));
        saved = RecoveryText::serialise(written);
    }
    put(file, saved);
    std::shared_ptr<ModalRecord> told;
    auto first = answerMessageBox(damaged ? QStringLiteral("OK") : QStringLiteral("Start forfra"),
                                  [&]() { if (!damaged) told = answerMessageBox(QStringLiteral("OK")); });
    RecoveryState state;
    const RecoveryOffer::Choice choice = RecoveryOffer::ask(nullptr, session, &state);
    if (damaged)
        told = first;
    QVERIFY(told && told->seen);
    QVERIFY2(kind != QLatin1String("changed") || told->text.contains(QLatin1String("beskadiget")), qPrintable(told->text));
    QVERIFY2(kind != QLatin1String("plain") || told->text.contains(QLatin1String("ikke beskyttet")), qPrintable(told->text));
    const QStringList aside = QDir(path).entryList({ QStringLiteral("skrivlo-gemt-test *.json*") });
    if (deep) {
        QCOMPARE(choice, RecoveryOffer::Choice::Stop);
        QCOMPARE(told->icon, QMessageBox::Critical);
        QVERIFY2(told->text.contains(QStringLiteral("kunne ikke lægges til side")), qPrintable(told->text));
        QCOMPARE(contents(file), saved);
        QVERIFY(aside.isEmpty());
        return;
    }
    QCOMPARE(choice, RecoveryOffer::Choice::StartAfresh);
    QVERIFY(!RecoveryFile::exists(session.folder()));
    QCOMPARE(aside.size(), 1);
    QVERIFY2(aside.first().startsWith(asideAs), qPrintable(aside.first()));
    QVERIFY(told->text.contains(aside.first()));
    QCOMPARE(contents(QDir(path).filePath(aside.first())), saved);
}

void TestArchive::linksAreNeverFollowed_data()
{
    QTest::addColumn<QString>("name"); // what is replaced by a link to another folder's file
    QTest::addColumn<QString>("told"); // in the message, or empty for none
    QTest::newRow("resultater") << "resultater" << "genvej (et link)";
    QTest::newRow("resultater a file") << "resultater" << "er en fil";
    QTest::newRow("the lock") << "skrivlo.lock" << "genvej (et link)";
    QTest::newRow("the lock a folder") << "skrivlo.lock" << "en mappe";
    QTest::newRow("the recovery file, mid-test") << "skrivlo-gemt-test.json.skrivlo" << QString();
}

// A link in place of a file or folder of the program is refused with what it is, or (the
// recovery file) replaced by a plain file; the place it points to is never written.
void TestArchive::linksAreNeverFollowed()
{
    QFETCH(QString, name);
    QFETCH(QString, told);
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(name);
    const QString path = dir->filePath(name);
    if (QTest::currentDataTag() == QLatin1String("resultater a file"))
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    else if (QTest::currentDataTag() == QLatin1String("the lock a folder"))
        QVERIFY(QDir().mkdir(path));
    else
        QVERIFY(QFile::link(target, path));
    if (name == QLatin1String("resultater")) {
        QVERIFY(QDir().mkdir(target));
        QString reason;
        QVERIFY(!FolderCheck::writable(folder(), &reason));
        QVERIFY2(reason.contains(told) && reason.contains(QDir::toNativeSeparators(path)), qPrintable(reason));
        // A row or a report at the hand-in does not go through it either.
        QVERIFY(dir->session().outbox().put(QStringLiteral("a.html"), "report"));
        QVERIFY(!dir->session().outbox().send(&reason));
        QVERIFY(QDir(target).isEmpty());
    } else if (name == QLatin1String("skrivlo.lock")) {
        InstanceLock lock(folder());
        QCOMPARE(lock.acquire(), InstanceLock::NotALockFile);
        const QString message = lock.notALockFileMessage();
        QVERIFY2(message.contains(told) && !message.contains(QStringLiteral("kører allerede")), qPrintable(message));
        QVERIFY(!QFileInfo::exists(target));
    } else {
        QVERIFY(QFile(target).open(QIODevice::WriteOnly));
        RecoveryState state;
        state.learner.started = started;
        state.step = TestStep::Dictation1;
        bool replaced = false;
        QVERIFY(RecoveryFile::write(folder(), *testClassKey(), state, &replaced));
        QVERIFY(replaced);
        QVERIFY(!QFileInfo(path).isSymLink() && QFileInfo(path).isFile());
        QCOMPARE(QFileInfo(target).size(), 0);
        QVERIFY(RecoveryFile::write(folder(), *testClassKey(), state, &replaced));
        QVERIFY(!replaced);
    }
}

// What a write cut off by a kill or a power cut left: this program's own temporary files in
// its own folders, once older than a minute. Nothing else.
void TestArchive::leftoversOfCutOffWritesAreRemoved()
{
    const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
    struct Leftover { const char *name; bool aged; bool removed; };
    const Leftover files[] = {
        { "results.html.ZBXAqJ", true, true },
        { "skrivlo-gemt-test.json.skrivlo.YZrxVi", true, true },
        { "resultater/2026-12-07 14.23 \xc3\x85se \xc3\x98rns\xc3\xb8.html.KGrooS", true, true },
        { "resultater/oversigt.csv.Qw3rTy", true, true },
        { "results.html.AbCdEf", false, false },       // may be a write going on now
        { "noter.txt.AbCdEf", true, false },           // not a file of this program
        { "results.html.toolong", true, false },       // not a temporary name
        { "results.html", true, false },
    };
    QVERIFY(QDir().mkdir(dir->filePath(QStringLiteral("resultater"))));
    for (const Leftover &file : files) {
        QFile made(dir->filePath(QString::fromUtf8(file.name)));
        QVERIFY(made.open(QIODevice::WriteOnly));
        if (file.aged)
            QVERIFY(made.setFileTime(old, QFileDevice::FileModificationTime));
    }
    // A link with a temporary name is not removed: it is not ours to judge.
    QVERIFY(QFile::link(dir->filePath(QStringLiteral("results.html")), dir->filePath(QStringLiteral("results.html.LnKlnk"))));

    const QStringList removed = FolderCheck::removeLeftovers(folder());
    for (const Leftover &file : files)
        QVERIFY2(QFileInfo::exists(dir->filePath(QString::fromUtf8(file.name))) != file.removed, file.name);
    QCOMPARE(removed.size(), 4);
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("results.html.LnKlnk"))).isSymLink());
}

void TestArchive::unwritableFolderOffersAnother_data()
{
    QTest::addColumn<QStringList>("answers"); // the teacher's buttons, box after box
    QTest::addColumn<bool>("picked");         // a folder comes back
    QTest::newRow("close the program") << QStringList { "Luk programmet" } << false;
    QTest::newRow("another folder") << QStringList { "Vælg en anden mappe …", "<folder>" } << true;
    QTest::newRow("no folder picked, then close")
            << QStringList { "Vælg en anden mappe …", "<cancel>", "Luk programmet" } << false;
}

// After the password: the box names the folder and why, and the teacher picks another or
// closes the program.
void TestArchive::unwritableFolderOffersAnother()
{
    QFETCH(QStringList, answers);
    QFETCH(bool, picked);
    QTemporaryDir other;
    QVERIFY(QFile(dir->filePath(QStringLiteral("resultater"))).open(QIODevice::WriteOnly));
    QString problem;
    QVERIFY(!FolderCheck::writable(folder(), &problem));
    QVector<std::shared_ptr<ModalRecord>> boxes;
    std::function<void(int)> answerFrom = [&](int i) {
        if (i >= answers.size())
            return;
        if (answers[i].startsWith(QLatin1Char('<'))) {
            answerModal([&, i](QWidget *dialog) {
                answerFrom(i + 1);
                auto *files = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(files);
                if (answers[i] == QLatin1String("<cancel>")) {
                    files->reject();
                    return;
                }
                files->setDirectory(other.path()); // and no name: the folder shown is the one chosen
                if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->clear();
                QMetaObject::invokeMethod(files, "accept");
            });
            return;
        }
        boxes.append(answerMessageBox(answers[i], [&, i]() { answerFrom(i + 1); }));
    };
    answerFrom(0);
    const QString chosen = FolderPrompt::askForAnother(nullptr, problem, folder().path());
    disarmModalAnswerers();
    QCOMPARE(QDir::cleanPath(chosen), picked ? QDir::cleanPath(other.path()) : QString());
    QVERIFY(boxes.first()->seen);
    QVERIFY2(boxes.first()->text.contains(QDir::toNativeSeparators(dir->filePath(QStringLiteral("resultater"))))
                     && boxes.first()->text.contains(QStringLiteral("er en fil")),
             qPrintable(boxes.first()->text));
    QCOMPARE(boxes.size(), int(answers.size() - answers.filter(QStringLiteral("<")).size()));
}

SKRIVLO_TEST_MAIN(TestArchive)
#include "tst_archive.moc"
