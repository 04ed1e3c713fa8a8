#include "reportfile.h"

#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

// The file itself: encoding, line ends, open modes, and failures that must never pass
// for a written report.
class TestReportFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createThenAppendWritesExactUtf8Bytes();
    void createEmptiesAnEarlierReport();
    void appendCreatesAMissingFile();
    void unwritableFileFails_data();
    void unwritableFileFails();
    void fullDeviceFails();
#ifdef Q_OS_LINUX
    void failedAppendLeavesTheEarlierStagesAsTheyWere();
#endif

private:
    QTemporaryDir dir;
    QString path;
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
    QVERIFY(dir.isValid());
    path = dir.filePath(ReportFile::fileName());
    QFile::remove(path);
}

void TestReportFile::createThenAppendWritesExactUtf8Bytes()
{
    QVERIFY(ReportFile::write(path, ReportFile::Create, QString::fromUtf8("Fødselsår: 1980<br>\n")));
    QVERIFY(ReportFile::write(path, ReportFile::Append, QString::fromUtf8("Trin 1\n</html>\n")));
    // No byte-order mark, one LF per line end, UTF-8 for the Danish letters.
    QCOMPARE(contents(path), QByteArray("F\xc3\xb8" "dsels\xc3\xa5r: 1980<br>\nTrin 1\n</html>\n"));
}

void TestReportFile::createEmptiesAnEarlierReport()
{
    QVERIFY(ReportFile::write(path, ReportFile::Create, QStringLiteral("first learner, a long text\n")));
    QVERIFY(ReportFile::write(path, ReportFile::Create, QStringLiteral("second\n")));
    QCOMPARE(contents(path), QByteArray("second\n"));
}

void TestReportFile::appendCreatesAMissingFile()
{
    QVERIFY(ReportFile::write(path, ReportFile::Append, QStringLiteral("section\n")));
    QCOMPARE(contents(path), QByteArray("section\n"));
}

void TestReportFile::unwritableFileFails_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("create") << int(ReportFile::Create);
    QTest::newRow("append") << int(ReportFile::Append);
}

void TestReportFile::unwritableFileFails()
{
    QFETCH(int, mode);
    // A directory in the report's place cannot be opened as a file, not even by root.
    QVERIFY(QDir(dir.path()).mkdir(ReportFile::fileName()));
    QVERIFY(!ReportFile::write(path, ReportFile::Mode(mode), QStringLiteral("text\n")));
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(QDir(dir.path()).rmdir(ReportFile::fileName()));
}

void TestReportFile::fullDeviceFails()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    // Opening succeeds; only the write fails. That must not count as a written report.
    QVERIFY(!ReportFile::write(path, ReportFile::Create, QString(5000, QLatin1Char('x'))));
    QVERIFY(!ReportFile::write(path, ReportFile::Append, QStringLiteral("short\n")));
}

#ifdef Q_OS_LINUX
void TestReportFile::failedAppendLeavesTheEarlierStagesAsTheyWere()
{
    const QByteArray earlier(100, 'h');
    QVERIFY(ReportFile::write(path, ReportFile::Create, QString::fromLatin1(earlier)));

    // A file size limit makes the disk "full" part-way through the append.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 300;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ReportFile::write(path, ReportFile::Append, QString(5000, QLatin1Char('d')));
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &old), 0);

    QVERIFY(!written);
    QCOMPARE(contents(path), earlier);
}
#endif

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"
