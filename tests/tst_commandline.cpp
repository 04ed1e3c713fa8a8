#include "archive/workingfolder.h"
#include "recordings/recordingfolders.h"
#include "startup/commandline.h"
#include "tests/support/wavfile.h"

#include <QtTest>

// What the program makes of its command line, where its files go and where it finds its
// recordings.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parses_data();
    void parses();
    void workingFolderIsCreatedOrRefused();
    void recordingsAreFoundFileByFile();
    void theProgramAnswersInDanish_data();
    void theProgramAnswersInDanish();
    void aMissingSiblingIsNamed();

private:
    QTemporaryDir config;
};

// A desktop whose documents folder has a Danish name, as the menu entry meets it.
void TestCommandLine::initTestCase()
{
    QVERIFY(config.isValid());
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Dokumenter\"\n");
    dirs.close();
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
}

void TestCommandLine::parses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("folder"); // relative to the working directory, or absolute
    QTest::addColumn<bool>("recording");
    QTest::addColumn<bool>("teacherView");

    const int run = int(CommandLine::Outcome::Run);
    const int error = int(CommandLine::Outcome::Error);
    QTest::newRow("nothing") << QStringList() << run << "." << false << false;
    QTest::newRow("folder") << QStringList { "--arbejdsmappe", "klasse 3" } << run << "klasse 3" << false << false;
    QTest::newRow("folder, the old name") << QStringList { "--resultatmappe", "klasse 3" } << run << "klasse 3" << false << false;
    QTest::newRow("short folder") << QStringList { "-r", "a/b/../c" } << run << "a/c" << false << false;
    QTest::newRow("recording") << QStringList { "--indtal" } << run << "." << true << false;
    QTest::newRow("new password") << QStringList { "--ny-adgangskode" } << run << "." << false << false;
    QTest::newRow("new password and recording") << QStringList { "--ny-adgangskode", "--indtal" } << error << "" << false << false;
    QTest::newRow("documents") << QStringList { "--dokumenter" } << run << QDir::homePath() + "/Dokumenter/Skrivlo" << false << false;
    QTest::newRow("documents and folder") << QStringList { "--dokumenter", "-r", "x" } << error << "" << false << false;
    QTest::newRow("documents and work folder") << QStringList { "--dokumenter", "--arbejdsmappe", "x" } << error << "" << false << false;
    QTest::newRow("help") << QStringList { "--help" } << int(CommandLine::Outcome::Help) << "" << false << false;
    QTest::newRow("version") << QStringList { "--version" } << int(CommandLine::Outcome::Version) << "" << false << false;
    QTest::newRow("unknown option") << QStringList { "--resultat" } << error << "" << false << false;
    QTest::newRow("Qt's help is no option") << QStringList { "--help-all" } << error << "" << false << false;
    QTest::newRow("stray argument") << QStringList { "noget" } << error << "" << false << false;
    QTest::newRow("empty folder") << QStringList { "--resultatmappe", " " } << error << "" << false << false;
    QTest::newRow("folder without value") << QStringList { "--resultatmappe" } << error << "" << false << false;
    QTest::newRow("teacher's view") << QStringList { "--resultater" } << run << "." << false << true;
    QTest::newRow("teacher's view, class folder")
            << QStringList { "--resultater", "--klassemappe", "../klasse 3b" } << run << "." << false << true;
    QTest::newRow("teacher's view and recording") << QStringList { "--resultater", "--indtal" } << error << "" << false << false;
    QTest::newRow("empty class folder") << QStringList { "--resultater", "--klassemappe", "" } << error << "" << false << false;
    QTest::newRow("class folder") << QStringList { "--klassemappe", "../hold 3" } << run << "." << false << false;
}

void TestCommandLine::parses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QString, folder);
    QFETCH(bool, recording);
    QFETCH(bool, teacherView);

    const int classOption = arguments.indexOf(QStringLiteral("--klassemappe"));
    const QString classFolder = classOption < 0 ? QString()
            : QDir::cleanPath(QDir::current().absoluteFilePath(arguments.value(classOption + 1)));
    arguments.prepend(QStringLiteral("skrivlo"));
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    QCOMPARE(int(parsed.outcome), outcome);
    if (parsed.outcome == CommandLine::Outcome::Run) {
        QCOMPARE(parsed.options.workingFolder, QDir::cleanPath(QDir::current().absoluteFilePath(folder)));
        QCOMPARE(parsed.options.recordingMode, recording);
        QCOMPARE(parsed.options.newPassword, arguments.contains(QStringLiteral("--ny-adgangskode")));
        QCOMPARE(parsed.options.teacherView, teacherView);
        QCOMPARE(parsed.options.classFolder, classFolder);
    } else {
        QVERIFY(!parsed.text.isEmpty());
    }
}

void TestCommandLine::workingFolderIsCreatedOrRefused()
{
    QTemporaryDir dir;
    QString reason;
    const QString nested = dir.filePath(QStringLiteral("Skrivlo/klasse"));
    QVERIFY(WorkingFolder::prepare(nested, &reason));
    QVERIFY(QFileInfo(nested).isDir());

    const QString file = dir.filePath(QStringLiteral("fil"));
    QFile(file).open(QIODevice::WriteOnly);
    QVERIFY(!WorkingFolder::prepare(file, &reason));
    QVERIFY(reason.contains(QStringLiteral("ikke en mappe")));

    QCOMPARE(WorkingFolder().path(), QDir::currentPath());
    QCOMPARE(WorkingFolder(nested).filePath(QStringLiteral("results.html")), nested + QStringLiteral("/results.html"));
}

void TestCommandLine::recordingsAreFoundFileByFile()
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QTemporaryDir work;
    QVERIFY(QDir::setCurrent(work.path()));
    const auto put = [](const QString &folder, const QString &name) {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    };

    const QStringList path = RecordingFolders::searchPath();
    QCOMPARE(path.first(), work.filePath(QStringLiteral("sounds")));
    QCOMPARE(path.at(1), RecordingFolders::teacherFolder());
    QVERIFY(RecordingFolders::teacherFolder().startsWith(home.path()));
    QCOMPARE(path.last(), QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/skrivlo/sounds")));

    put(RecordingFolders::teacherFolder(), QStringLiteral("1.wav"));
    put(RecordingFolders::teacherFolder(), QStringLiteral("2.wav"));
    put(work.filePath(QStringLiteral("sounds")), QStringLiteral("2.wav"));
    QCOMPARE(RecordingFolders::resolve(QStringLiteral("sounds/1.wav")), RecordingFolders::teacherFolder() + QStringLiteral("/1.wav"));
    QCOMPARE(RecordingFolders::resolve(QStringLiteral("sounds/2.wav")), work.filePath(QStringLiteral("sounds/2.wav")));
    // A broken copy in the working directory gives way to a good one further on.
    QVERIFY(WavFile::write(RecordingFolders::teacherFolder() + QStringLiteral("/3.wav"), WavFile::tone(2205)));
    put(work.filePath(QStringLiteral("sounds")), QStringLiteral("3.wav"));
    QCOMPARE(RecordingFolders::resolve(QStringLiteral("sounds/3.wav")), RecordingFolders::teacherFolder() + QStringLiteral("/3.wav"));
    // None has it: the working directory's path, which plays as silence.
    QCOMPARE(RecordingFolders::resolve(QStringLiteral("sounds/nowhere.wav")), work.filePath(QStringLiteral("sounds/nowhere.wav")));
}

namespace {

// What the started program prints, until it prints expected, ends or has run 20 s; then it is
// stopped (a box it opens is not waited for).
QString printedUntil(QProcess &program, const QString &expected)
{
    QString printed;
    if (!program.waitForStarted())
        return printed;
    QDeadlineTimer deadline(20000);
    while (!printed.contains(expected) && !deadline.hasExpired()
           && (program.state() == QProcess::Running || program.bytesAvailable())) {
        program.waitForReadyRead(100);
        printed += QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    }
    program.kill();
    program.waitForFinished();
    return printed;
}

} // namespace

void TestCommandLine::theProgramAnswersInDanish_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // a line the program prints
    QTest::addColumn<QStringList>("absent");
    const QString seeHelp = QStringLiteral("Se valgmulighederne med »skrivlo --help«.");
    QTest::newRow("unknown option") << QStringList { "--resultat" } << seeHelp << QStringList();
    QTest::newRow("Qt's help") << QStringList { "--help-all" } << seeHelp << QStringList();
    // Where there is no display: said on the terminal, never Qt's English as it gives up.
    QTest::newRow("no display") << QStringList { "--help-all", "(no display)" } << seeHelp
                                << QStringList { "could not connect", "platform plugin" };
    QTest::newRow("missing value") << QStringList { "-r" } << QStringLiteral("Manglende værdi efter '-r'.") << QStringList();
    QTest::newRow("stray argument") << QStringList { "noget" } << QStringLiteral("Ukendt argument: »noget«.") << QStringList();
    // Only options that work, by the glossary's names.
    QTest::newRow("help") << QStringList { "--help" } << QStringLiteral("--arbejdsmappe <mappe>")
                          << QStringList { "--help-all", "resultatmappe", "-r," };
}

// The real program, whose Qt catalogue must be in before it reads its arguments. An error
// is printed before its box opens; the box is not waited for.
void TestCommandLine::theProgramAnswersInDanish()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(QStringList, absent);
    QTemporaryDir work;
    QProcess program;
    program.setWorkingDirectory(work.path());
    if (arguments.removeAll(QStringLiteral("(no display)"))) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(QLatin1String(variable));
        program.setProcessEnvironment(environment);
    }
    program.start(QStringLiteral(SKRIVLO_EXECUTABLE), arguments);
    const QString printed = printedUntil(program, expected);
    QVERIFY2(printed.contains(expected), qPrintable(printed));
    for (const char *english : { "Unknown", "Missing", "Displays", "Usage", "Options" })
        QVERIFY2(!printed.contains(QLatin1String(english)), qPrintable(printed));
    for (const QString &word : absent)
        QVERIFY2(!printed.contains(word), qPrintable(printed));
    QVERIFY(QDir(work.path()).isEmpty());
}

// skrivlo --resultater hands on to skrivlo-resultater beside it; a copy without it says which
// part is missing instead of starting the test.
void TestCommandLine::aMissingSiblingIsNamed()
{
    QTemporaryDir alone;
    const QString copy = alone.filePath(QStringLiteral("skrivlo"));
    QVERIFY(QFile::copy(QStringLiteral(SKRIVLO_EXECUTABLE), copy));
    QProcess program;
    program.setWorkingDirectory(alone.path());
    program.start(copy, { QStringLiteral("--resultater") });
    const QString expected = QStringLiteral("Skrivlo kan ikke starte skrivlo-resultater, fordi en del af programmet mangler.");
    const QString printed = printedUntil(program, expected);
    QVERIFY2(printed.contains(expected), qPrintable(printed));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
