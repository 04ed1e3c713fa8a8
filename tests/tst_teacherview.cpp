#include "archive/classlisting.h"
#include "archive/classrecovery.h"
#include "archive/deletedlearners.h"
#include "archive/learnerarchive.h"
#include "archive/learnerdeletion.h"
#include "archive/recoveryfile.h"
#include "archive/reportfile.h"
#include "archive/session.h"
#include "model/learnerdatatext.h"
#include "model/recoverytext.h"
#include "model/reportscan.h"
#include "model/reporttext.h"
#include "model/resultrow.h"
#include "sealing/keywrap.h"
#include "sealing/sealedfile.h"
#include "support/filewatch.h"
#include "support/modaldialog.h"
#include "support/testfolder.h"
#include "teacherview/firstlook.h"
#include "teacherview/overviewprint.h"
#include "teacherview/resultfilter.h"
#include "teacherview/resulttablemodel.h"
#include "teacherview/retention.h"
#include "teacherview/teacherview.h"
#include "teacherview/trinchart.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>

// The teacher's view: reading the class folder (data files, reports of the old format,
// damaged files, the outbox), the line above the table, the table's sorting and filtering,
// the chart's counts, the layout on a small screen, the printed overview, and deleting a
// learner.
class TestTeacherView : public QObject
{
    Q_OBJECT

private slots:
    void oldReport_data();
    void oldReport();
    void listing();
    void sortAndFilter_data();
    void sortAndFilter();
    void removeRefusedWhenUnreachable();
    void firstLook_data();
    void firstLook();
    void fitsTheScreen_data();
    void fitsTheScreen();
    void pageStarts_data();
    void pageStarts();
    void columnWidths_data();
    void columnWidths();
    void overviewSaysWhatItHolds_data();
    void overviewSaysWhatItHolds();
    void viewRefreshesAndDeletes();
    void hostileRowsStayText_data();
    void hostileRowsStayText();
    void deleteReachesEveryCopy();
    void retention_data();
    void retention();
    void cleanup() { disarmModalAnswerers(); }
};

namespace {

QStringList twenty(int right)
{
    QStringList fragments;
    for (int i = 0; i < 20; ++i)
        fragments << (i < right ? QStringLiteral("ord") : QStringLiteral("<s>ort</s> (ord)"));
    return fragments;
}

// A report as the program writes it, up to where the learner got.
QString report(const QString &name, int d1, std::array<int, 3> d2, bool finished)
{
    QString html = ReportText::header({ "7/12-2026", "Sprogcenter Øst", name, "Vej 1", "1984", "", "", "", "" });
    html += ReportText::dictation1Section(QStringLiteral("03:10"), twenty(d1), d1);
    if (d2[0] >= 0)
        html += ReportText::dictation2Section(QStringLiteral("09:55"), {}, d2);
    return finished ? html : ReportText::unfinished(html);
}

ResultRow row(const QString &name, const QString &started, int d1, std::array<int, 3> d2, bool finished)
{
    ResultRow r;
    r.started = QDateTime::fromString(started, Qt::ISODate);
    r.pc = QStringLiteral("pc1");
    r.place = QStringLiteral("Sprogcenter");
    r.name = name;
    r.birthYear = QStringLiteral("1990");
    r.dictation1Right = d1;
    r.dictation2Right = d2;
    r.finished = finished;
    r.reportName = started.left(10) + QLatin1Char(' ') + name + QStringLiteral(".html");
    return r;
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Writes a learner's data file and report as the program leaves them in a folder: sealed.
void hand(const QString &folder, const ResultRow &r)
{
    const QString stem = r.reportName.chopped(5);
    for (const auto &[name, bytes] : { std::pair { stem + QStringLiteral(".json"), LearnerDataText::serialise(r) },
                                       std::pair { r.reportName, QByteArray("<html><title>Resultater</title></html>") } })
        put(folder + QLatin1Char('/') + SealedFile::sealedName(name), SealedFile::seal(*testClassKey(), name, bytes));
}

// What the teacher's password opens: the test key, as a PC of the class publishes it.
ClassListing::Keys testKeys(const QString &keyringFolder = QString())
{
    static const QString line = KeyWrap::wrap(*testClassKey(), QStringLiteral("kanelsnegle"), KeyWrap::testCost());
    return { QStringLiteral("kanelsnegle"), { line }, keyringFolder };
}

// A copy in the class folder that its PC last saved ten minutes ago, as a PC that died leaves it.
void age(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QFileInfo(file).lastModified().addSecs(-600), QFileDevice::FileModificationTime));
}

// Selects the first row whose name holds text.
void selectLearner(TeacherView &view, const QString &text)
{
    auto *table = view.findChild<QTableView *>("resultTable");
    for (int r = 0; r < table->model()->rowCount(); ++r) {
        if (table->model()->index(r, ResultTableModel::Name).data().toString().contains(text)) {
            table->selectRow(r);
            return;
        }
    }
    QFAIL(qPrintable("no row of " + text));
}

// Eight learners at each Trin and not finished, one of the old format, one damaged, one waiting.
void seedClass(const QString &classFolder, const QString &outbox)
{
    hand(classFolder, row("Åse Ørnsø", "2026-12-01T09:00:05", 12, { -1, -1, -1 }, true));      // Trin 1
    hand(classFolder, row("Bo; Holm", "2026-12-02T09:00:00", 19, { 10, 8, 6 }, true));         // 24: Trin 2
    hand(classFolder, row("Carl Ærø", "2026-12-03T10:30:00", 20, { 15, 14, 12 }, true));       // 41: Trin 3
    hand(classFolder, row("Dorte", "2026-12-04T11:00:00", 20, { 20, 18, 15 }, true));          // 53: Trin 4
    hand(classFolder, row("Ebbe", "2026-12-05T12:00:00", 19, { -1, -1, -1 }, false));          // not finished
    put(classFolder + QStringLiteral("/2026-12-06 08.15 Frida Ådal.html"),
        report(QStringLiteral("Frida Ådal"), 19, { 13, 13, 13 }, true).toUtf8());               // 39: Trin 3
    put(classFolder + QStringLiteral("/2026-12-06 09.00 Gorm.json"), "{\"format\": \"noget andet\"");
    hand(outbox, row("Hanne", "2026-12-07T13:00:00", 20, { 20, 20, 20 }, true));               // waiting, Trin 4
    put(classFolder + QStringLiteral("/oversigt.csv"), "old");
}

} // namespace

void TestTeacherView::oldReport_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("dictation1");
    QTest::addColumn<int>("dictation2");
    QTest::addColumn<int>("level");

    const QString file = QStringLiteral("2026-12-07 14.23 Åse Ørnsø.html");
    QTest::newRow("Trin 1 from Dictation 1") << file << report("Åse Ørnsø", 17, { -1, -1, -1 }, true)
                                             << true << "Åse Ørnsø" << 17 << -1 << 1;
    QTest::newRow("Trin 3") << file << report("Åse <Ørnsø> & co", 20, { 14, 13, 11 }, true)
                            << true << "Åse <Ørnsø> & co" << 20 << 38 << 3;
    QTest::newRow("Trin 4, highest") << file << report("A", 20, { 20, 20, 20 }, true) << true << "A" << 20 << 60 << 4;
    QTest::newRow("not finished after Dictation 1") << file << report("Bo", 19, { -1, -1, -1 }, false)
                                                    << true << "Bo" << 19 << -1 << 0;
    QTest::newRow("not finished after Dictation 2") << file << report("Bo", 19, { 1, 2, 3 }, false)
                                                    << true << "Bo" << 19 << 6 << 0;
    QTest::newRow("name with a counter") << QStringLiteral("2026-12-07 14.23 Bo (2).html")
                                         << report("Bo", 19, { 10, 10, 10 }, true) << true << "Bo" << 19 << 30 << 2;
    QTest::newRow("a Trin that does not match the numbers")
            << file << report("Bo", 19, { 10, 10, 10 }, true).replace("Trin 2", "Trin 4") << false << "" << 0 << 0 << 0;
    QTest::newRow("a total that is not the sum")
            << file << report("Bo", 19, { 10, 10, 10 }, true).replace("Total: 30", "Total: 31") << false << "" << 0 << 0 << 0;
    QTest::newRow("foreign HTML") << file << QStringLiteral("<html><body>Navn: x</body></html>") << false << "" << 0 << 0 << 0;
    QTest::newRow("no start time in the name") << QStringLiteral("Åse.html") << report("Åse", 19, { 1, 1, 1 }, true)
                                               << false << "" << 0 << 0 << 0;
}

void TestTeacherView::oldReport()
{
    QFETCH(QString, fileName);
    QFETCH(QString, html);
    QFETCH(bool, read);
    ResultRow scanned;
    QString reason;
    QCOMPARE(ReportScan::parse(fileName, html, &scanned, &reason), read);
    if (!read) {
        QVERIFY(!reason.isEmpty());
        return;
    }
    QFETCH(QString, name);
    QFETCH(int, dictation1);
    QFETCH(int, dictation2);
    QFETCH(int, level);
    QCOMPARE(scanned.name, name);
    QCOMPARE(scanned.place, QStringLiteral("Sprogcenter Øst"));
    QCOMPARE(scanned.birthYear, QStringLiteral("1984"));
    QCOMPARE(scanned.started, QDateTime(QDate(2026, 12, 7), QTime(14, 23)));
    QCOMPARE(scanned.dictation1Right, dictation1);
    QCOMPARE(scanned.dictation2Total(), dictation2);
    QCOMPARE(scanned.level(), level);
    QCOMPARE(scanned.reportName, fileName);
}

void TestTeacherView::listing()
{
    TestFolder folder;
    const QString classFolder = folder.filePath("klasse");
    const QString outbox = folder.filePath("udbakke");
    seedClass(classFolder, outbox);
    ClassListing listing(classFolder, outbox, testKeys());
    ClassListing::Result result = listing.scan();
    QVERIFY(result.reachable);
    QCOMPARE(result.entries.size(), 8);
    QCOMPARE(result.unsealed, 2); // Frida's and the old overview, kept in the clear by an older version
    QHash<QString, ClassEntry> byStem;
    for (const ClassEntry &entry : result.entries)
        byStem.insert(entry.stem, entry);
    QCOMPARE(byStem.value("2026-12-06 08.15 Frida Ådal").row.level(), 3); // the old format
    QVERIFY(byStem.value("2026-12-06 08.15 Frida Ådal").dataPath.isEmpty());
    QVERIFY(byStem.value("2026-12-06 08.15 Frida Ådal").unsealed);
    QVERIFY(!byStem.value("2026-12-02 Bo; Holm").unsealed);
    QCOMPARE(byStem.value("2026-12-06 09.00 Gorm").state, ClassEntry::Unreadable);
    QVERIFY(byStem.value("2026-12-06 09.00 Gorm").problem.contains("Gorm.json"));
    QCOMPARE(byStem.value("2026-12-07 Hanne").state, ClassEntry::Waiting);
    QCOMPARE(byStem.value("2026-12-02 Bo; Holm").row.name, QStringLiteral("Bo; Holm"));

    // The old report sealed when asked, under a name without hers: read back with the start
    // (which only the old name held) and the Trin it had; the plain file and the old overview gone.
    QString why;
    QCOMPARE(listing.sealUnsealed(&why), 1);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(!QFileInfo::exists(classFolder + QStringLiteral("/2026-12-06 08.15 Frida Ådal.html")));
    QVERIFY(!QFileInfo::exists(classFolder + QStringLiteral("/oversigt.csv")));
    result = listing.scan();
    QCOMPARE(result.unsealed, 0);
    const auto frida = std::find_if(result.entries.cbegin(), result.entries.cend(),
                                    [](const ClassEntry &e) { return e.row.name == QStringLiteral("Frida Ådal"); });
    QVERIFY(frida != result.entries.cend() && !frida->stem.contains(QStringLiteral("Frida")));
    QCOMPARE(frida->state, ClassEntry::Handed);
    QCOMPARE(frida->row.started, QDateTime(QDate(2026, 12, 6), QTime(8, 15)));
    QCOMPARE(frida->row.level(), 3);

    // A learner still taking the test has only the sealed report so far: listed by name, not
    // as a changed file, and not finished.
    const QString going = QStringLiteral("PC2-000002 0a0b0c0d");
    put(classFolder + "/" + going + ".html.skrivlo",
        SealedFile::seal(*testClassKey(), going + ".html", report(QStringLiteral("Ida"), 19, { -1, -1, -1 }, false).toUtf8()));
    bool listedGoing = false;
    for (const ClassEntry &entry : listing.scan().entries) {
        if (entry.stem == going) {
            listedGoing = true;
            QCOMPARE(entry.state, ClassEntry::Handed);
            QCOMPARE(entry.row.name, QStringLiteral("Ida"));
            QVERIFY(!entry.row.finished);
        }
    }
    QVERIFY(listedGoing);
    QVERIFY(QFile::remove(classFolder + "/" + going + ".html.skrivlo"));

    // Handed in from the outbox: one row, no longer waiting; a changed file is read again.
    hand(classFolder, row("Hanne", "2026-12-07T13:00:00", 20, { 20, 20, 20 }, true));
    put(classFolder + QStringLiteral("/2026-12-05 Ebbe.json.skrivlo"), "{}");
    result = listing.scan();
    QCOMPARE(result.entries.size(), 8);
    for (const ClassEntry &entry : result.entries) {
        if (entry.stem == "2026-12-07 Hanne")
            QCOMPARE(entry.state, ClassEntry::Handed);
        if (entry.stem == "2026-12-05 Ebbe")
            QCOMPARE(entry.state, ClassEntry::Unreadable);
    }

    // The share gone: said so, and the outbox still listed.
    QVERIFY(QDir(classFolder).removeRecursively());
    result = listing.scan();
    QVERIFY(!result.reachable);
    QVERIFY(result.problem.contains("klasse"));
    QCOMPARE(result.entries.size(), 1);
}

void TestTeacherView::sortAndFilter_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("names"); // in the order shown
    QTest::addColumn<QVector<int>>("counts"); // not finished, Trin 1-4, unreadable

    const QStringList byDate { "Ændret eller beskadiget", "Åse Ørnsø", "Bo; Holm", "Carl Ærø", "Dorte",
                               "Ebbe", "Frida Ådal", "Hanne" };
    QTest::newRow("all, by date") << int(ResultTableModel::Start) << "" << QDate() << QDate() << byDate
                                  << QVector<int> { 1, 1, 1, 2, 2, 1 };
    QTest::newRow("by Dictation 2 total")
            << int(ResultTableModel::Dictation2) << "" << QDate() << QDate()
            << QStringList { "Ændret eller beskadiget", "Åse Ørnsø", "Ebbe", "Bo; Holm", "Frida Ådal",
                             "Carl Ærø", "Dorte", "Hanne" }
            << QVector<int> { 1, 1, 1, 2, 2, 1 };
    QTest::newRow("name search, any case") << int(ResultTableModel::Name) << "æ" << QDate() << QDate()
                                           << QStringList { "Carl Ærø" } << QVector<int> { 0, 0, 0, 1, 0, 0 };
    QTest::newRow("date range, damaged file still shown")
            << int(ResultTableModel::Level) << "" << QDate(2026, 12, 2) << QDate(2026, 12, 4)
            << QStringList { "Ændret eller beskadiget", "Bo; Holm", "Carl Ærø", "Dorte" }
            << QVector<int> { 0, 0, 1, 1, 1, 1 };
}

void TestTeacherView::sortAndFilter()
{
    QFETCH(int, column);
    QFETCH(QString, search);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, names);
    QFETCH(QVector<int>, counts);
    TestFolder folder;
    seedClass(folder.filePath("klasse"), folder.filePath("udbakke"));
    ClassListing listing(folder.filePath("klasse"), folder.filePath("udbakke"), testKeys());
    ResultTableModel model;
    model.setEntries(listing.scan().entries);
    ResultFilter filter;
    filter.setSourceModel(&model);
    filter.setNameSearch(search);
    filter.setDateRange(from, to);
    filter.sort(column, Qt::AscendingOrder);
    QStringList shown;
    for (int row = 0; row < filter.rowCount(); ++row)
        shown << filter.index(row, ResultTableModel::Name).data().toString().remove(QChar(0x2068)).remove(QChar(0x2069));
    QCOMPARE(shown, names);
    const std::array<int, 6> levels = filter.levelCounts();
    QCOMPARE(QVector<int>(levels.begin(), levels.end()), counts);
    // The Trin is written in its cell, beside its colour.
    for (int row = 0; row < filter.rowCount(); ++row) {
        const QModelIndex level = filter.index(row, ResultTableModel::Level);
        if (level.data().toString().startsWith("Trin "))
            QVERIFY(level.data(Qt::BackgroundRole).isValid());
    }
}

void TestTeacherView::removeRefusedWhenUnreachable()
{
    TestFolder folder;
    seedClass(folder.filePath("klasse"), folder.filePath("udbakke"));
    const LearnerDeletion::Done done = LearnerDeletion::run({ folder.filePath("væk"), folder.filePath("udbakke"),
                                                              folder.path(), QString() },
                                                            Keyring(testClassKey()), { "2026-12-07 Hanne" });
    QVERIFY(!done.reached);
    QVERIFY(done.problem.contains("kan ikke nås"));
    QVERIFY(QFile::exists(folder.filePath("udbakke/2026-12-07 Hanne.json.skrivlo"))); // nothing deleted
}

void TestTeacherView::firstLook_data()
{
    QTest::addColumn<QString>("folder");     // the class folder, in the working folder
    QTest::addColumn<QStringList>("files");  // what it holds; "-" for no folder at all
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("says");
    const int none = int(FirstLook::Line::None);
    const int noResults = int(FirstLook::Line::NoResultsYet);
    const int unreachable = int(FirstLook::Line::Unreachable);
    const int foreign = int(FirstLook::Line::NotSkrivlos);
    // No test taken yet on this PC: its own folder is made by the first result.
    QTest::newRow("own folder, not made yet") << "resultater" << QStringList { "-" } << noResults
                                              << "Ingen resultater endnu. Når en kursist på denne pc";
    QTest::newRow("IT's folder, empty") << "hold 3" << QStringList() << noResults << "Ingen resultater endnu i klassemappen";
    QTest::newRow("IT's folder, only saved tests") << "hold 3" << QStringList { "gemte-test/pc1.json" } << noResults
                                                  << "Ingen resultater endnu";
    QTest::newRow("IT's folder, missing") << "hold 3" << QStringList { "-" } << unreachable << "kan ikke nås. Tjek";
    QTest::newRow("someone's documents") << "hold 3" << QStringList { "brev.docx", "ferie/foto.jpg" } << foreign
                                         << "har ingen resultater fra Skrivlo";
    QTest::newRow("a learner") << "hold 3" << QStringList { "learner" } << none << "";
}

// The line above the table says which of three things keeps it empty, each with the next step.
void TestTeacherView::firstLook()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(int, line);
    QFETCH(QString, says);
    TestFolder work;
    const QString classFolder = work.filePath(folder);
    if (files != QStringList { "-" })
        QVERIFY(QDir().mkpath(classFolder));
    for (const QString &file : files) {
        if (file == "learner")
            hand(classFolder, row("Åse", "2026-12-01T09:00:00", 12, { -1, -1, -1 }, true));
        else if (file != "-")
            put(classFolder + QLatin1Char('/') + file, "x");
    }
    TeacherView view(classFolder, work.filePath("udbakke"), work.path(), testKeys());
    QSignalSpy listed(&view, &TeacherView::listed);
    QVERIFY(listed.wait(5000));
    QCOMPARE(int(view.firstLookLine()), line);
    QVERIFY2(view.firstLookText().contains(says), qPrintable(view.firstLookText()));
    if (line == int(FirstLook::Line::None))
        QVERIFY(view.firstLookText().isEmpty());
}

void TestTeacherView::fitsTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("chartBeside");
    QTest::newRow("1024x768") << QSize(1024, 768) << false;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << true;
}

// What a teacher looks for is on screen without scrolling; the chart goes below on a small one.
void TestTeacherView::fitsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(bool, chartBeside);
    TestFolder folder;
    seedClass(folder.filePath("klasse"), folder.filePath("udbakke"));
    TeacherView view(folder.filePath("klasse"), folder.filePath("udbakke"), folder.path(), testKeys());
    QSignalSpy listed(&view, &TeacherView::listed);
    view.resize(screen);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(listed.wait(5000));
    QCoreApplication::processEvents();
    QVERIFY(view.minimumSizeHint().width() <= screen.width());
    const auto *splitter = view.findChild<QSplitter *>("tableAndChart");
    QCOMPARE(splitter->orientation() == Qt::Horizontal, chartBeside);
    const auto *table = view.findChild<QTableView *>("resultTable");
    const QHeaderView *header = table->horizontalHeader();
    for (int column : { ResultTableModel::Name, ResultTableModel::Level, ResultTableModel::Dictation1,
                        ResultTableModel::Dictation2 }) {
        const int left = header->sectionViewportPosition(column);
        QVERIFY2(left >= 0 && left + header->sectionSize(column) <= table->viewport()->width(),
                 qPrintable(QStringLiteral("column %1 at %2+%3 of %4").arg(column).arg(left)
                                    .arg(header->sectionSize(column)).arg(table->viewport()->width())));
    }
    // The chart can be put away for the table's sake.
    view.findChild<QCheckBox *>("chartBox")->click();
    QVERIFY(!view.findChild<QWidget *>("chartPanel")->isVisible());
}

void TestTeacherView::pageStarts_data()
{
    QTest::addColumn<QVector<int>>("heights");
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("otherPages");
    QTest::addColumn<QVector<int>>("starts");
    QTest::newRow("one page") << QVector<int> { 10, 10, 10 } << 30 << 50 << QVector<int> { 0 };
    QTest::newRow("a row that would be cut goes on") << QVector<int> { 10, 10, 12, 10 } << 30 << 50 << QVector<int> { 0, 2 };
    QTest::newRow("title on the first page only") << QVector<int>(9, 10) << 20 << 30 << QVector<int> { 0, 2, 5, 8 };
    QTest::newRow("a row taller than a page") << QVector<int> { 5, 80, 5 } << 50 << 50 << QVector<int> { 0, 1, 2 };
    QTest::newRow("no rows") << QVector<int>() << 50 << 50 << QVector<int> { 0 };
}

void TestTeacherView::pageStarts()
{
    QFETCH(QVector<int>, heights);
    QFETCH(int, firstPage);
    QFETCH(int, otherPages);
    QFETCH(QVector<int>, starts);
    QCOMPARE(OverviewPrint::pageStarts(heights, firstPage, otherPages), starts);
}

void TestTeacherView::columnWidths_data()
{
    QTest::addColumn<QVector<int>>("natural");
    QTest::addColumn<QVector<int>>("longestWord");
    QTest::addColumn<int>("page");
    QTest::addColumn<QVector<int>>("widths");
    QTest::newRow("room to spare, shared out") << QVector<int> { 100, 50, 50 } << QVector<int> { 50, 50, 50 } << 400
                                               << QVector<int> { 200, 100, 100 };
    QTest::newRow("too wide: the widest wraps") << QVector<int> { 300, 60, 60 } << QVector<int> { 80, 60, 60 } << 300
                                                << QVector<int> { 180, 60, 60 };
    QTest::newRow("never below the longest word") << QVector<int> { 300, 250, 40 } << QVector<int> { 200, 90, 40 } << 400
                                                  << QVector<int> { 200, 160, 40 };
}

void TestTeacherView::columnWidths()
{
    QFETCH(QVector<int>, natural);
    QFETCH(QVector<int>, longestWord);
    QFETCH(int, page);
    QFETCH(QVector<int>, widths);
    QCOMPARE(OverviewPrint::columnWidths(natural, longestWord, page), widths);
}

void TestTeacherView::overviewSaysWhatItHolds_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("question"); // the first box's text, or empty for none
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");    // the save dialog's
    QTest::newRow("all shown") << "" << "" << "" << "Gem oversigt over 30 kursister som PDF-fil";
    QTest::newRow("one found, only that one") << "0007" << "Listen viser kun 1 af 30 kursister." << "Kun den viste"
                                              << "Gem oversigt over 1 af 30 kursister som PDF-fil";
    QTest::newRow("one found, all of them") << "0007" << "Listen viser kun 1 af 30 kursister." << "Alle 30"
                                            << "Gem oversigt over 30 kursister som PDF-fil";
}

// Printed or saved, the overview says how many learners it holds, and asks when a search hides some.
void TestTeacherView::overviewSaysWhatItHolds()
{
    QFETCH(QString, search);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    TestFolder folder;
    const QString classFolder = folder.filePath("klasse");
    for (int i = 0; i < 30; ++i)
        hand(classFolder, row(QStringLiteral("Kursist %1").arg(i, 4, 10, QLatin1Char('0')),
                              QStringLiteral("2026-11-%1T09:00:00").arg(1 + i % 28, 2, 10, QLatin1Char('0')), 20,
                              { i % 21, 10, 10 }, true));
    TeacherView view(classFolder, folder.filePath("udbakke"), folder.path(), testKeys());
    QSignalSpy listed(&view, &TeacherView::listed);
    QVERIFY(listed.wait(5000));
    view.findChild<QLineEdit *>("searchEdit")->setText(search);
    auto dialogTitle = std::make_shared<QString>();
    const auto saveDialog = [dialogTitle](QWidget *dialog) {
        *dialogTitle = dialog->windowTitle();
        static_cast<QDialog *>(dialog)->reject();
    };
    std::shared_ptr<ModalRecord> asked;
    if (question.isEmpty())
        answerModal(saveDialog);
    else
        asked = answerMessageBox(answer, [saveDialog]() { answerModal(saveDialog); });
    QMetaObject::invokeMethod(&view, "saveOverviewPdf");
    QTRY_COMPARE(*dialogTitle, title);
    if (asked)
        QVERIFY2(asked->text.startsWith(question), qPrintable(asked->text));
}

void TestTeacherView::viewRefreshesAndDeletes()
{
    TestFolder folder;
    const QString classFolder = folder.filePath("klasse");
    seedClass(classFolder, folder.filePath("udbakke"));
    TeacherView view(classFolder, folder.filePath("udbakke"), folder.path(), testKeys());
    QSignalSpy listed(&view, &TeacherView::listed);
    QVERIFY(listed.wait(5000));
    QCOMPARE(view.filter()->rowCount(), 8);
    QCOMPARE(view.trinChart()->counts()[4], 2);
    // "Hjælp" shows the teacher's guide over the view, at its section on this window.
    view.show();
    view.findChild<QPushButton *>(QStringLiteral("helpButton"))->click();
    auto *guide = view.findChild<QDialog *>(QStringLiteral("teacherGuide"));
    QVERIFY(guide && guide->isVisible());
    auto *guideText = guide->findChild<QTextBrowser *>("guideText");
    QCOMPARE(guideText->source().fragment(), QStringLiteral("klassens-resultater"));
    QTRY_VERIFY(guideText->verticalScrollBar()->value() > 0);
    guide->close();

    // Another PC hands in a learner: it appears at the next refresh.
    hand(classFolder, row("Ida", "2026-12-08T08:00:00", 20, { 20, 20, 19 }, true));
    view.refresh();
    QVERIFY(listed.wait(5000));
    QCOMPARE(view.filter()->rowCount(), 9);
    QCOMPARE(view.trinChart()->counts()[4], 3);
    // The picture for the PNG file and the printed overview has its bars, the longest for Trin 4.
    const QImage picture = view.trinChart()->picture(QSize(720, 400));
    QMap<int, int> barRows; // y -> bar pixels
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            barRows[y] += picture.pixel(x, y) == QColor(0x3a, 0x5f, 0x9e).rgb();
    int longest = 0;
    for (int pixels : barRows)
        longest = std::max(longest, pixels);
    QVERIFY2(longest > 200, qPrintable(QString::number(longest)));

    // Delete Bo; Holm, answered with "Slet resultatet": the files go.
    auto *table = view.findChild<QTableView *>("resultTable");
    table->sortByColumn(ResultTableModel::Name, Qt::AscendingOrder);
    table->selectRow(1); // after the damaged file
    QCOMPARE(table->currentIndex().siblingAtColumn(ResultTableModel::Name).data().toString(),
             QChar(0x2068) + QStringLiteral("Bo; Holm") + QChar(0x2069)); // kept apart from the cells around it
    QSignalSpy deleted(&view, &TeacherView::deleted);
    std::shared_ptr<ModalRecord> told;
    const auto asked = answerMessageBox("Slet resultatet", [&told]() { told = answerMessageBox("OK"); });
    // As the teacher does: the button is taken once the deleted list, put back as the view
    // opened, is written (until then the button is off and the slot does nothing).
    QTRY_VERIFY(view.findChild<QPushButton *>("deleteButton")->isEnabled());
    QMetaObject::invokeMethod(&view, "deleteLearner");
    QVERIFY(asked->seen);
    QVERIFY2(asked->text.contains(QStringLiteral("»\u2068Bo; Holm\u2069« fra 2/12-2026 kl. 09.00")), qPrintable(asked->text));
    QVERIFY(deleted.wait(20000));
    QVERIFY(told && told->seen);
    QVERIFY(!QFile::exists(classFolder + "/2026-12-02 Bo; Holm.json.skrivlo"));
    QVERIFY(!QFile::exists(classFolder + "/2026-12-02 Bo; Holm.html.skrivlo"));
    QVERIFY(listed.wait(5000));
    QCOMPARE(view.filter()->rowCount(), 8);

    // Deleted on another PC while the view is open: the row goes at the next listing.
    QVERIFY(QFile::remove(classFolder + "/2026-12-08 Ida.json.skrivlo"));
    QVERIFY(QFile::remove(classFolder + "/2026-12-08 Ida.html.skrivlo"));
    view.refresh();
    QVERIFY(listed.wait(5000));
    QCOMPARE(view.filter()->rowCount(), 7);
    QCOMPARE(view.trinChart()->counts()[4], 2);
}

void TestTeacherView::hostileRowsStayText_data()
{
    QTest::addColumn<QString>("typed");   // as name, place and year of birth; %1: a folder of the teacher's
    QTest::addColumn<QString>("report");  // put into the sealed report as it is
    QTest::addColumn<QString>("damaged"); // instead of a learner, a damaged file of this name
    QTest::addColumn<QString>("large");   // "data" or "report": that file is 50 MB
    const QString picture = QStringLiteral("<img src=\"file://%1/foto.png\">");
    QTest::newRow("markup and a picture") << "<b>Åse</b>" + picture << picture + "<p style=\"background-image: url(%1/foto.png)\">"
                                          << "" << "";
    QTest::newRow("a Windows server") << "<img src=\"\\\\server\\share\\foto.png\">"
                                      << "<img src=\"\\\\server\\share\\foto.png\">" << "" << "";
    QTest::newRow("a link") << "<a href=\"file://%1/foto.png\">Bo</a>"
                            << "<a href=\"http://127.0.0.1:9/\">her</a><link rel=\"stylesheet\" href=\"%1/foto.css\">" << "" << "";
    QTest::newRow("right-to-left override") << QString::fromUtf8("Ali \u202E4 nirT\u202C Hansen") << "" << "" << "";
    QTest::newRow("a damaged file named in markup") << "" << "" << "<img src=\"foto.png\">.json" << "";
    QTest::newRow("a 50 MB report") << "Bo" << "" << "" << "report";
    QTest::newRow("a 50 MB data file") << "Bo" << "" << "" << "data";
}

// What a hostile learner puts in her files stays text in the table, its tooltip, the result's
// window and every box, and the view opens no file but the class folder's own (the kernel is
// asked), never through a link; a file too large to be the program's is shown as damaged and
// never read.
void TestTeacherView::hostileRowsStayText()
{
    QFETCH(QString, typed);
    QFETCH(QString, report);
    QFETCH(QString, damaged);
    QFETCH(QString, large);
    TestFolder folder; // the working directory too, where a relative name leads
    const QString classFolder = folder.filePath("klasse");
    const QString teachers = folder.filePath("laerer");
    QVERIFY(QDir().mkpath(teachers));
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const QString &path : { teachers + "/foto.png", folder.filePath("foto.png"),
                                 folder.filePath("\\\\server\\share\\foto.png") })
        QVERIFY(red.save(path, "PNG"));
    put(teachers + "/foto.css", "p { color: red }");
    put(teachers + "/egen.noegle", KeyWrap::wrap(*testClassKey(), "kanelsnegle", KeyWrap::testCost()).toLatin1());
    // Links in the class folder to the teacher's own files, as a learner's row and as key lines.
    QVERIFY(QDir().mkpath(classFolder));
    QVERIFY(QFile::link(teachers + "/foto.png", classFolder + "/PC9-0a0b0c 0a0b0c0e.json.skrivlo"));
    QVERIFY(QFile::link(teachers, classFolder + "/noegler"));
    typed.replace("%1", teachers);
    report.replace("%1", teachers);

    const QString stem = QStringLiteral("PC1-0a0b0c 0a0b0c0d");
    ResultRow r = row(typed, "2026-12-07T14:23:00", 19, { 12, 9, 15 }, true);
    r.place = r.birthYear = typed;
    r.reportName = stem + ".html";
    const QString html = ReportText::header({ "7/12-2026", typed, typed, "Vej 1", typed, "", "", "", "" }) + report;
    for (const auto &[name, bytes] : { std::pair { stem + ".json", LearnerDataText::serialise(r) },
                                       std::pair { stem + ".html", html.toUtf8() } }) {
        if (damaged.isEmpty())
            put(classFolder + "/" + SealedFile::sealedName(name), SealedFile::seal(*testClassKey(), name, bytes));
    }
    if (!damaged.isEmpty())
        put(classFolder + "/" + damaged, "{\"format\": ");
    const QString largeFile = classFolder + "/" + SealedFile::sealedName(stem + (large == "data" ? ".json" : ".html"));
    if (!large.isEmpty()) {
        QFile file(largeFile);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(50 * 1024 * 1024)); // sparse: no disk taken
    }

    FileWatch watch({ teachers, folder.path(), classFolder });
    if (!watch.isWatching())
        QSKIP("inotify is not available here");
    TeacherView view(classFolder, folder.filePath("udbakke"), folder.path(), testKeys());
    QSignalSpy listed(&view, &TeacherView::listed);
    view.resize(1280, 800);
    view.show();
    QVERIFY(listed.wait(5000));
    auto *table = view.findChild<QTableView *>("resultTable");
    QCOMPARE(table->model()->rowCount(), 1);
    table->selectRow(0);
    const QModelIndex name = table->currentIndex().siblingAtColumn(ResultTableModel::Name);
    const bool readable = damaged.isEmpty() && large != "data";
    if (readable) {
        for (int column : { ResultTableModel::Name, ResultTableModel::Place, ResultTableModel::BirthYear })
            QCOMPARE(name.siblingAtColumn(column).data().toString(), QChar(0x2068) + typed + QChar(0x2069));
    } else {
        QCOMPARE(name.data().toString(), QStringLiteral("Ændret eller beskadiget"));
        // The tooltip, as the table shows it when the mouse rests on the row.
        const QRect cell = table->visualRect(table->model()->index(0, ResultTableModel::State));
        QHelpEvent hover(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(table->viewport(), &hover);
        QTest::qWait(50);
    }

    // "Åbn resultat": the result's window, or a box saying why it cannot be shown.
    auto opened = answerModal([typed](QWidget *dialog) {
        dialog->grab(); // laid out and drawn, pictures and all
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (label->text().contains(typed) && label->textFormat() != Qt::PlainText)
                qWarning("rich text: %s", qPrintable(label->objectName()));
        }
        if (auto *box = qobject_cast<QMessageBox *>(dialog); box && box->textFormat() != Qt::PlainText)
            qWarning("a box of rich text");
        dialog->close();
    });
    QTest::failOnWarning(QRegularExpression("rich text"));
    QMetaObject::invokeMethod(&view, "openReport"); // read on the share's thread, shown after
    if (damaged.isEmpty())
        QTRY_VERIFY(opened->seen);
    else
        QVERIFY(!QTest::qWaitFor([&opened]() { return opened->seen; }, 300));
    if (large == "report") {
        QVERIFY2(opened->text.contains("for stor"), qPrintable(opened->text));
        QVERIFY(opened->text.contains("»" + typed + "«") || opened->text.contains(typed));
    } else if (opened->seen && large.isEmpty()) {
        QCOMPARE(opened->title, "Resultat – " + typed);
    }

    for (const QString &event : watch.seen()) {
        QVERIFY2(event.startsWith("opened " + classFolder) || event.startsWith("read " + classFolder), qPrintable(event));
        QVERIFY2(large.isEmpty() || event != "read " + largeFile, qPrintable(event));
    }
}

// A learner whose test moved from PC 1 to PC 2 to PC 3, where it ended while PC 3's share was
// away, is deleted in the view: every copy goes, at once or when each PC next reaches the class
// folder, and in the end no file holds her id but the list of deleted learners.
void TestTeacherView::deleteReachesEveryCopy()
{
    TestFolder folder;
    const QString classFolder = folder.filePath("klasse");
    const QString pc3Share = folder.filePath("pc3-net"); // PC 3 reaches the share through this
    QVERIFY(QDir().mkpath(classFolder));
    QVERIFY(QFile::link(classFolder, pc3Share));
    std::vector<std::unique_ptr<Session>> pcs;
    for (const QString pc : { "PC1-000001", "PC2-000002", "PC3-000003" }) {
        QVERIFY(QDir().mkpath(folder.filePath(pc)));
        pcs.push_back(std::make_unique<Session>(WorkingFolder(folder.filePath(pc)), MachineSettings(),
                                                pc.startsWith("PC3") ? pc3Share : classFolder, pc));
        unlockForTest(*pcs.back());
    }
    Session &pc1 = *pcs[0], &pc2 = *pcs[1], &pc3 = *pcs[2];
    const QString copies = classFolder + "/gemte-test/";
    QString reason;

    // Åse starts at PC 1, which keeps her saved test and sends a copy; then PC 1 dies.
    pc1.learner().started = QDateTime::currentDateTime();
    pc1.learner().details = QStringList { "9/12-2026", "Sprogcenter", "Åse Ørnsø", "Vej 1", "1984", "", "", "", "" };
    QVERIFY(ReportFile::writeStage(pc1, ReportFile::Create, ReportText::header(pc1.learner().details)).isEmpty());
    const QString id = QFileInfo(pc1.learner().reportName).completeBaseName();
    RecoveryState state;
    state.learner = pc1.learner();
    state.step = TestStep::Dictation1;
    QVERIFY(RecoveryFile::write(pc1.folder(), *testClassKey(), state));
    ClassRecovery::put(pc1, RecoveryText::serialise(state));
    QVERIFY(pc1.outbox().send());
    // PC 2 takes over and goes on; then PC 2 dies; PC 3 takes over and finishes with its share away.
    for (Session *next : { &pc2, &pc3 }) {
        age(copies + (next == &pc2 ? "PC1-000001" : "PC2-000002") + ".json.skrivlo");
        const QVector<ClassRecovery::Found> found = ClassRecovery::leftByOthers(*next);
        QVERIFY2(found.size() == 1, qPrintable(next->pcName() + QDir(copies).entryList().join(',')));
        QVERIFY2(ClassRecovery::takeOver(*next, found.first(), &reason), qPrintable(reason));
        next->learner() = state.learner;
        if (next == &pc3)
            QVERIFY(QFile::remove(pc3Share));
        QVERIFY(ReportFile::writeStage(*next, ReportFile::Append, "<p>Diktat</p>").isEmpty());
        ClassRecovery::put(*next, RecoveryText::serialise(state));
        next->outbox().send();
    }
    QVERIFY2(LearnerArchive::finish(pc3, &reason), qPrintable(reason));
    QVERIFY(pc3.outbox().waiting().contains(id + ".json.skrivlo"));
    // PC 1 is started again: its saved test was continued elsewhere and is set aside for the teacher.
    QString aside;
    QVERIFY(RecoveryFile::setAside(pc1.folder(), RecoveryFile::Aside::ContinuedElsewhere, &aside));
    hand(classFolder, row("Bo", "2026-12-02T09:00:00", 19, { 10, 8, 6 }, true)); // stays

    // The teacher deletes her; the answer names the PCs that may still hold a copy.
    TeacherView view(classFolder, folder.filePath("lærer/udbakke"), folder.filePath("lærer"),
                     testKeys(folder.filePath("lærer/noegler")));
    QSignalSpy listed(&view, &TeacherView::listed);
    QSignalSpy deleted(&view, &TeacherView::deleted);
    QVERIFY(listed.wait(5000));
    QCOMPARE(view.filter()->rowCount(), 2);
    selectLearner(view, "Åse Ørnsø");
    std::shared_ptr<ModalRecord> told;
    const auto asked = answerMessageBox("Slet resultatet", [&told]() { told = answerMessageBox("OK"); });
    // As the teacher does: the button is taken once the deleted list, put back as the view
    // opened, is written (until then the button is off and the slot does nothing).
    QTRY_VERIFY(view.findChild<QPushButton *>("deleteButton")->isEnabled());
    QMetaObject::invokeMethod(&view, "deleteLearner");
    QVERIFY(asked->seen);
    QVERIFY(deleted.wait(20000));
    QVERIFY2(told->text.contains("er slettet fra klassemappen") && told->text.contains("PC1-000001, PC2-000002, PC3-000003"),
             qPrintable(told->text));
    QTRY_COMPARE(view.filter()->rowCount(), 1);

    // PC 1 starts with the password; PC 3's share comes back: neither brings her back.
    QCOMPARE(DeletedLearners::forgetHere(pc1, DeletedLearners::read(classFolder, pc1.keys())), 1);
    QVERIFY(QFile::link(classFolder, pc3Share));
    QVERIFY(pc3.outbox().send());
    QVERIFY(pc3.outbox().waiting().isEmpty());

    // No file holds her id, and none that can be read her name, but the lists of deleted learners;
    // the results.html each PC showed goes at its next learner's password.
    QDirIterator it(folder.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    int lists = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder.path()).relativeFilePath(path);
        if (name.contains("slettede-kursister")) {
            ++lists;
            continue;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(!name.contains(id) && !bytes.contains(id.toUtf8()), qPrintable(name));
        if (!name.endsWith("results.html"))
            QVERIFY2(!bytes.contains("Åse"), qPrintable(name));
        for (const QString root : { "klasse/", "lærer/udbakke/" }) {
            if (name.startsWith(root) && name.endsWith(SealedFile::suffix()))
                QVERIFY2(!openedWithTestKey(path, SealedFile::plainName(name.mid(root.size()))).contains("Åse"),
                         qPrintable(name));
        }
    }
    QCOMPARE(lists, 2); // in the class folder, and the teacher's own copy
    QSet<QString> listedIds;
    QVERIFY(DeletedLearners::parse(openedWithTestKey(classFolder + "/" + SealedFile::sealedName(
                                                             DeletedLearners::nameFor(testClassKey()->id())),
                                                     DeletedLearners::nameFor(testClassKey()->id())),
                                   &listedIds));
    QCOMPARE(listedIds, QSet<QString> { id });

    // A learner who removes the list gains nothing: the view, opened again, puts it back.
    const QString list = classFolder + "/" + SealedFile::sealedName(DeletedLearners::nameFor(testClassKey()->id()));
    QVERIFY(QFile::remove(list));
    TeacherView again(classFolder, folder.filePath("lærer/udbakke"), folder.filePath("lærer"),
                      testKeys(folder.filePath("lærer/noegler")));
    QTRY_VERIFY(QFile::exists(list));
    QCOMPARE(DeletedLearners::read(classFolder, Keyring(testClassKey())), QSet<QString> { id });
}

void TestTeacherView::retention_data()
{
    QTest::addColumn<int>("months");
    QTest::addColumn<bool>("onItsOwn");
    QTest::addColumn<qint64>("ageOffsetSecs"); // from the period's end: < 0 older, > 0 younger
    QTest::addColumn<QString>("answer");       // to the question; empty: none comes
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<QString>("line");
    const qint64 hour = 3600;
    QTest::newRow("no period: kept, and said") << 0 << false << -hour * 24 * 400 << "" << 2 << "ikke valgt";
    QTest::newRow("period not understood") << -1 << true << -hour * 24 * 400 << "" << 2 << "kan ikke forstås";
    QTest::newRow("just inside") << 24 << false << hour << "" << 2 << "";
    QTest::newRow("just outside, teacher says yes") << 24 << false << -hour << "Slet dem" << 1 << "";
    QTest::newRow("just outside, teacher says not now") << 24 << false << -hour << "Ikke nu" << 2 << "";
    QTest::newRow("just outside, on its own") << 24 << true << -hour << "" << 1 << "1 resultat ældre end 24 måneder er slettet";
    QTest::newRow("just inside, on its own") << 24 << true << hour << "" << 2 << "";
}

void TestTeacherView::retention()
{
    QFETCH(int, months);
    QFETCH(bool, onItsOwn);
    QFETCH(qint64, ageOffsetSecs);
    QFETCH(QString, answer);
    QFETCH(int, rowsLeft);
    QFETCH(QString, line);
    // The period counts in calendar months: a month before 31 March is the last of February.
    QCOMPARE(Retention(1, false).cutoff(QDateTime(QDate(2027, 3, 31), QTime(12, 0))),
             QDateTime(QDate(2027, 2, 28), QTime(12, 0)));
    TestFolder folder;
    const QString classFolder = folder.filePath("klasse");
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime edge = now.addMonths(-std::max(months, 1)).addSecs(ageOffsetSecs);
    hand(classFolder, row("Gammel", edge.toString(Qt::ISODate), 12, { -1, -1, -1 }, true));
    hand(classFolder, row("Ny", now.addDays(-1).toString(Qt::ISODate), 12, { -1, -1, -1 }, true));
    std::shared_ptr<ModalRecord> told;
    const auto question = answer.isEmpty() ? guardNoModal(3000) : answerMessageBox(answer, [&told]() {
        told = answerMessageBox("OK");
    });
    TeacherView view(classFolder, folder.filePath("udbakke"), folder.path(), testKeys(), false,
                     Retention(months, onItsOwn, months < 0 ? "to år" : ""));
    QSignalSpy deleted(&view, &TeacherView::deleted);
    if (rowsLeft < 2)
        QVERIFY(deleted.wait(8000));
    QTRY_COMPARE(view.filter()->rowCount(), rowsLeft);
    QTest::qWait(200); // a question would have come by now
    QCOMPARE(question->seen, !answer.isEmpty());
    if (question->seen)
        QVERIFY2(question->text.contains("Gammel") && question->text.contains("24 måneder"), qPrintable(question->text));
    if (told && told->seen)
        QVERIFY2(told->text.contains("ældre end 24 måneder er slettet"), qPrintable(told->text));
    const auto *label = view.findChild<QLabel *>("retentionLabel");
    QCOMPARE(label->isVisibleTo(&view), !line.isEmpty());
    QVERIFY2(label->text().contains(line), qPrintable(label->text()));
}

SKRIVLO_TEST_MAIN(TestTeacherView)
#include "tst_teacherview.moc"
