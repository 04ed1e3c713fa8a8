#include "archive/recoveryfile.h"
#include "archive/reportfile.h"
#include "model/learnerfilename.h"
#include "sealing/sealedfile.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/reportstage.h"
#include "widgets/voiceplayer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

// The report's files: exact bytes, whole-file replacement, links and other non-files
// refused, the learner's own copy, and failures that must never pass for a written report.
class TestReportFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesExactUtf8BytesInPlaceOfTheWholeFile();
    void refusesWhatIsNotAPlainFile_data();
    void refusesWhatIsNotAPlainFile();
#ifdef Q_OS_LINUX
    void failedWriteLeavesTheEarlierFileWhole();
#endif
    void stagesRewriteTheWholeReportToBothFiles();
    void sameNameSameMinuteGetsFilesOfTheirOwn();
    void failedHandInIsTriedAgain_data();
    void failedHandInIsTriedAgain();

private:
    Session &session() { return folder->session(); }
    // The learner's own copy in the class folder, opened.
    QByteArray classCopy()
    {
        return openedWithTestKey(ReportFile::learnerFilePath(session()) + SealedFile::suffix(),
                                 session().learner().reportName);
    }

    QString path;
    std::unique_ptr<TestFolder> folder;
};

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

} // namespace

void TestReportFile::init()
{
    folder.reset();
    folder = std::make_unique<TestFolder>();
    QVERIFY(folder->isValid());
    path = folder->filePath(ReportFile::fileName());
    session().learner().started = QDateTime(QDate(2026, 12, 7), QTime(14, 23));
}

void TestReportFile::writesExactUtf8BytesInPlaceOfTheWholeFile()
{
    QVERIFY(ReportFile::write(path, QStringLiteral("first learner, a long text\n")));
    QVERIFY(ReportFile::write(path, QString::fromUtf8("Fødselsår: 1980<br>\nTrin 1\n</html>\n")));
    // No byte-order mark, one LF per line end, UTF-8 for the Danish letters.
    QCOMPARE(contents(path), QByteArray("F\xc3\xb8" "dsels\xc3\xa5r: 1980<br>\nTrin 1\n</html>\n"));
}

void TestReportFile::refusesWhatIsNotAPlainFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("link to another file") << "link";
    QTest::newRow("link to /dev/full") << "devfull";
}

void TestReportFile::refusesWhatIsNotAPlainFile()
{
    QFETCH(QString, kind);
    const QString target = folder->filePath(QStringLiteral("teacher.txt"));
    QFile(target).open(QIODevice::WriteOnly);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(folder->path()).mkdir(ReportFile::fileName()));
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(target, path));
    else if (!QFileInfo::exists(QStringLiteral("/dev/full")) || !QFile::link(QStringLiteral("/dev/full"), path))
        QSKIP("no /dev/full on this system");

    QVERIFY(!ReportFile::write(path, QString(5000, QLatin1Char('x'))));
    QCOMPARE(contents(target), QByteArray()); // never followed
    QCOMPARE(QFileInfo(path).isSymLink(), kind != QLatin1String("folder"));
}

#ifdef Q_OS_LINUX
void TestReportFile::failedWriteLeavesTheEarlierFileWhole()
{
    const QByteArray earlier(100, 'h');
    QVERIFY(ReportFile::write(path, QString::fromLatin1(earlier)));

    // A file size limit makes the disk "full" part-way through the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 300;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ReportFile::write(path, QString(5000, QLatin1Char('d')));
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &old), 0);

    QVERIFY2(!written, contents(path).left(20).constData());
    QCOMPARE(contents(path), earlier);
    // Nothing left behind beside the report.
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList { ReportFile::fileName() });
}
#endif

// What the program holds is the report: a results.html deleted or altered between the
// stages comes back whole, and the learner's own file always equals it.
void TestReportFile::stagesRewriteTheWholeReportToBothFiles()
{
    session().learner().details = QStringList { QString(), QString(), QString::fromUtf8("Åse Ørnsø") };
    QVERIFY(ReportStage::write(nullptr, session(), ReportFile::Create, QStringLiteral("head\n")));
    QFile::remove(path);
    QVERIFY(ReportStage::write(nullptr, session(), ReportFile::Append, QStringLiteral("dictation 1\n")));
    QVERIFY(ReportFile::write(path, QStringLiteral("altered by someone\n")));
    QVERIFY(ReportStage::write(nullptr, session(), ReportFile::Append, QStringLiteral("dictation 2\n")));

    const QByteArray whole("head\ndictation 1\ndictation 2\n");
    QCOMPARE(contents(path), whole);
    QCOMPARE(classCopy(), whole);
}

void TestReportFile::sameNameSameMinuteGetsFilesOfTheirOwn()
{
    QStringList names;
    for (int learner = 1; learner <= 3; ++learner) {
        session().learner().details = QStringList { QString(), QString(), QStringLiteral("Ali") };
        QVERIFY(ReportStage::write(nullptr, session(), ReportFile::Create, QStringLiteral("learner %1\n").arg(learner)));
        names.append(session().learner().reportName);
        QCOMPARE(classCopy(), QStringLiteral("learner %1\n").arg(learner).toUtf8());
        // The PC and a random id: nothing of the learner in the class folder's names.
        const QRegularExpression anonymous(QStringLiteral("^%1 [0-9a-f]{8}\\.html$").arg(session().pcName()));
        QVERIFY2(anonymous.match(names.last()).hasMatch(), qPrintable(names.last()));
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), 3);
}

void TestReportFile::failedHandInIsTriedAgain_data()
{
    QTest::addColumn<QString>("obstacle");   // made before the hand-in, taken away in the box
    QTest::addColumn<QString>("named");      // the file the box names
    QTest::addColumn<bool>("answersKept");   // the recovery file can be written meanwhile
    QTest::addColumn<QStringList>("answers"); // the teacher's buttons, box after box
    QTest::addColumn<QString>("says");       // what the first box says about the answers
    const QString kept = QStringLiteral("Alle svar er bevaret");
    const QString lost = QStringLiteral("kun på skærmen og i programmets hukommelse");
    QTest::newRow("results.html is a folder") << "results.html" << "»results.html«" << true
                                              << QStringList { "Prøv igen" } << kept;
    QTest::newRow("the outbox is a file") << "udbakke" << "»udbakke/" << true
                                          << QStringList { "Prøv igen" } << kept;
    QTest::newRow("given up, answers kept") << "results.html" << "»results.html«" << true
                                            << QStringList { "Luk programmet", "OK" } << kept;
    QTest::newRow("answers only in memory: retry") << "results.html" << "»results.html«" << false
                                                   << QStringList { "Prøv igen" } << lost;
    QTest::newRow("answers only in memory: given up after the last warning")
            << "results.html" << "»results.html«" << false
            << QStringList { "Luk programmet", "Tilbage", "Luk programmet", "Luk programmet alligevel", "OK" } << lost;
    QTest::newRow("answers only in memory: saved on a USB stick, then given up")
            << "results.html" << "»results.html«" << false
            << QStringList { "Gem et andet sted …", "<usb>", "Luk programmet", "OK" } << lost;
}

// At a hand-in the teacher can free the folder and try again; nothing is lost meanwhile, and
// answers that are only in memory are never let go without a last word.
void TestReportFile::failedHandInIsTriedAgain()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, named);
    QFETCH(bool, answersKept);
    QFETCH(QStringList, answers);
    QFETCH(QString, says);
    QVERIFY(ReportStage::write(nullptr, session(), ReportFile::Create, QStringLiteral("head\n")));
    const QString blocked = folder->filePath(obstacle);
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(blocked).removeRecursively());
    if (obstacle == ReportFile::fileName())
        QVERIFY(QDir().mkdir(blocked));
    else
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
    // Answers that cannot be saved in the working folder: its saved test is a folder.
    if (!answersKept)
        QVERIFY(QDir().mkdir(RecoveryFile::path(session().folder())));
    QTemporaryDir usb;

    // Each box is answered in turn; a last "Prøv igen" takes the obstacle away.
    QVector<std::shared_ptr<ModalRecord>> seenBoxes;
    std::function<void(int)> answerFrom = [&](int i) {
        if (i >= answers.size())
            return;
        if (answers[i] == QLatin1String("<usb>")) {
            answerModal([&, i](QWidget *dialog) {
                answerFrom(i + 1);
                auto *files = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(files);
                files->setDirectory(usb.path()); // and no name: the folder shown is the one chosen
                if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->clear();
                QMetaObject::invokeMethod(files, "accept");
            });
            return;
        }
        seenBoxes.append(answerMessageBox(answers[i], [&, i]() {
            if (i + 1 == answers.size() && answers[i] == QStringLiteral("Prøv igen")) {
                QFile::remove(blocked);
                QDir().rmdir(blocked);
            }
            answerFrom(i + 1);
        }));
    };
    answerFrom(0);
    const bool written = ReportStage::write(nullptr, session(), ReportFile::Append, QStringLiteral("answers\n"));
    disarmModalAnswerers();
    QCOMPARE(QFileInfo(RecoveryFile::path(session().folder())).isFile(), answersKept);

    QList<ModalRecord> boxes;
    for (const auto &box : seenBoxes)
        boxes.append(*box);
    QCOMPARE(boxes.size(), int(answers.size() - answers.count(QStringLiteral("<usb>"))));
    for (const ModalRecord &box : boxes)
        QVERIFY2(box.seen, qPrintable(box.title));
    const ModalRecord &first = boxes.first();
    QStringList buttons = first.buttons;
    buttons.sort();
    QCOMPARE(buttons, (QStringList { QStringLiteral("Gem et andet sted …"), QStringLiteral("Luk programmet"),
                                     QStringLiteral("Prøv igen") }));
    // The learner at the screen is sent for the teacher before the teacher's detail.
    QVERIFY2(first.text.startsWith(QStringLiteral("Hent din lærer.\n")), qPrintable(first.text));
    QVERIFY2(first.text.contains(named), qPrintable(first.text));
    QVERIFY2(first.text.contains(says), qPrintable(first.text));
    QCOMPARE(first.text.contains(QStringLiteral("Alle svar er bevaret")), answersKept);
    if (answers.last() == QStringLiteral("Prøv igen")) {
        QVERIFY(written);
        QCOMPARE(contents(path), QByteArray("head\nanswers\n"));
        QCOMPARE(classCopy(), QByteArray("head\nanswers\n"));
        return;
    }
    // Given up: the learner is told to fetch the teacher, and the page ends the test.
    QVERIFY(!written);
    QCOMPARE(boxes.last().title, QStringLiteral("Kritisk fejl!"));
    QCOMPARE(session().learner().document, QStringLiteral("head\n"));
    const bool warned = answers.contains(QStringLiteral("Luk programmet alligevel"));
    QCOMPARE(warned, !answersKept && !answers.contains(QStringLiteral("<usb>")));
    if (warned)
        QCOMPARE(boxes[1].title, QStringLiteral("Svarene går tabt"));
    if (answers.contains(QStringLiteral("<usb>"))) {
        // The box after the USB stick tells where the answers are now.
        QVERIFY2(boxes[1].text.contains(QDir::toNativeSeparators(usb.path())), qPrintable(boxes[1].text));
        QVERIFY(QFileInfo(RecoveryFile::path(WorkingFolder(usb.path()))).isFile());
        QCOMPARE(contents(QDir(usb.path()).filePath(ReportFile::fileName())).left(13), QByteArray("head\nanswers\n"));
    }
}

SKRIVLO_TEST_MAIN(TestReportFile)
#include "tst_reportfile.moc"
