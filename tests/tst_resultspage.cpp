// The results page: it shows the report from the working directory, saves what it shows as a
// PDF through Qt's own file dialog, and prints through the print dialog.

#include "archive/pdftarget.h"
#include "archive/workingfolder.h"
#include "devices/loader/devicemodule.h"
#include "devices/printdevice.h"
#include "pages/results.h"
#include "tests/support/filewatch.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {

// A finished report as the pages write it: UTF-8 without a byte-order mark.
const char report[] =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n\n"
        "<html>\n\n<head>\n<title>Resultater</title>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n</head>\n\n<body>\n\n"
        "<h2><u>Diktat til trinindplacering</u></h2>\n\n<p>\n<small>\n"
        "Dato: 3/10-2010<br>\nUndervisningssted: Århus<br>\nNavn: Åse Ørnebæk<br>\nAdresse: Vej &amp; sti<br>\n"
        "Fødselsår: 1977<br>\nAntal år i folkeskole: 9<br>\nStudentereksamen: <br>\nUddannelse: <br>\nJobs: \n</small>\n\n"
        "<h3>Diktat 1 [04:07]</h3>\n\n<p>\n<small>\n"
        "<font color=\"green\">kørte</font>, svømmede&nbsp;(fint), -&nbsp;(solen).\n</small>\n\n"
        "<p>\n<small>\n<font color=\"blue\"><b>Total: 18</b></font>\n</small>\n\n"
        "<p>\n<small>\n<font color=\"blue\"><b>Total: 45</b></font><br>\nTrin 3\n</small>\n\n</body>\n</html>\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// The text of a PDF, or an empty string when pdftotext is not installed.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, { QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-") });
    if (!process.waitForFinished(20000))
        return QStringLiteral("<pdftotext did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Goes to the file's folder and types its name, as the learner does. (selectFile leaves the
// name field alone while that field has the focus.)
void typeFileName(QFileDialog *files, const QString &path)
{
    const QFileInfo info(path);
    files->setDirectory(info.absolutePath());
    auto *nameField = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!nameField) {
        files->selectFile(path);
        return;
    }
    nameField->clear();
    QTest::keyClicks(nameField, info.fileName());
}

// What the save dialog looked like when it came up.
struct SaveDialogSeen
{
    bool seen = false;
    QString title;
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool readOnly = false;
    QString folder;
    QString suggested;
    bool overwriteQuestion = false;
};

} // namespace

class TestResultsPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadReportShowsTheReport();
    void missingReportShowsNothing();
    void aReportLoadsNothingOfItsOwn_data();
    void aReportLoadsNothingOfItsOwn();
    void saveAsPdf_data();
    void saveAsPdf();
    void cancellingSaveWritesNothing();
    void othersFilesAreNeverReplaced_data();
    void othersFilesAreNeverReplaced();
    void printToFileIsSavedByTheSameRules_data();
    void printToFileIsSavedByTheSameRules();
    void cancellingPrintPrintsNothing();
    void teacherSavesAnywhereButTheClassFolder_data();
    void teacherSavesAnywhereButTheClassFolder();

private:
    QTextBrowser *view() const { return page->findChild<QTextBrowser *>(QStringLiteral("reportView")); }
    QPushButton *button(const char *name) const { return page->findChild<QPushButton *>(QLatin1String(name)); }
    void expectNoFurtherBox();

    TestFolder workDir;
    WorkingFolder folder { workDir.path() }; // where the page reads and offers to save
    QTemporaryDir saveDir; // where the learner saves the PDF
    std::unique_ptr<QWidget> host;
    Results *page = nullptr;
};

void TestResultsPage::initTestCase()
{
    QVERIFY(workDir.isValid());
    QVERIFY(saveDir.isValid());
}

void TestResultsPage::init()
{
    writeFile(QStringLiteral("results.html"), QByteArray(report));
    host = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(host.get());
    page = new Results(host.get(), folder);
    page->setVisible(false);
    layout->addWidget(page);
    page->setLearnerName(QStringLiteral("Åse Ørnebæk"));
    host->resize(900, 700);
    host->show();
    QVERIFY(QTest::qWaitForWindowActive(host.get()));
    page->loadReport();
    page->show();
}

void TestResultsPage::cleanup()
{
    disarmModalAnswerers();
    host.reset();
    page = nullptr;
    folder = WorkingFolder(workDir.path());
    QDir(saveDir.filePath(QStringLiteral("resultater"))).removeRecursively();
    for (const QString &name : filesIn(saveDir.path()))
        QFile::remove(saveDir.filePath(name));
}

// The page itself shows no message after saving or printing.
void TestResultsPage::expectNoFurtherBox()
{
    auto guard = guardNoModal();
    QTest::qWait(100); // a box comes from the click itself, or from the next round of events
    QVERIFY(!guard->seen);
    disarmModalAnswerers();
}

void TestResultsPage::loadReportShowsTheReport()
{
    const QString shown = view()->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("Navn: Åse Ørnebæk")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("Fødselsår: 1977")));
    QVERIFY(shown.contains(QStringLiteral("Adresse: Vej & sti")));
    QVERIFY(shown.contains(QStringLiteral("kørte, svømmede (fint), - (solen).")));
    QVERIFY(shown.contains(QStringLiteral("Trin 3")));
    QVERIFY(!shown.contains(QStringLiteral("<meta")));
    QCOMPARE(QApplication::focusWidget(), view());

    // What is shown was read at loading; a later change of the file does not reach the view.
    writeFile(QStringLiteral("results.html"), QByteArray(report).replace("Trin 3", "Trin 9"));
    QTest::qWait(50);
    QVERIFY(view()->toPlainText().contains(QStringLiteral("Trin 3")));
}

void TestResultsPage::missingReportShowsNothing()
{
    QVERIFY(QFile::remove(QStringLiteral("results.html")));
    auto guard = guardNoModal();
    Results other(nullptr, folder);
    other.loadReport();
    QVERIFY(!other.findChild<QTextBrowser *>(QStringLiteral("reportView"))->toPlainText().contains(QStringLiteral("Trin")));
    QTest::qWait(100);
    QVERIFY(!guard->seen);
}

void TestResultsPage::aReportLoadsNothingOfItsOwn_data()
{
    QTest::addColumn<QString>("html"); // in a report read back from a file; %1: a folder of the teacher's
    QTest::newRow("a file of the teacher's") << "<img src=\"file://%1/foto.png\">";
    QTest::newRow("a path") << "<img src=\"%1/foto.png\">";
    QTest::newRow("beside the report") << "<img src=\"foto.png\">";
    QTest::newRow("a Windows server") << "<img src=\"\\\\server\\share\\foto.png\">"; // a file's name here
    QTest::newRow("the network") << "<img src=\"http://127.0.0.1:9/foto.png\">";
    QTest::newRow("a device") << "<img src=\"file:///dev/zero\">";
    QTest::newRow("enormous") << "<img src=\"%1/foto.png\" width=\"2147483647\" height=\"2147483647\">";
    QTest::newRow("a style sheet") << "<link rel=\"stylesheet\" href=\"%1/foto.css\"><p>x</p>";
    QTest::newRow("tables in tables") << QStringLiteral("<table cellpadding=\"100000000\"><tr><td>").repeated(40);
    QTest::newRow("backgrounds") << "<table background=\"%1/foto.png\"><tr><td background=\"foto.png\">x</td></tr></table>"
                                    "<p style=\"background-image: url(%1/foto.png)\">y</p>";
}

// Whatever a report read back holds, the view, and the PDF made from it, open no file (the
// kernel is asked, not Qt), and a link in it is never followed. The page's own pictures show.
void TestResultsPage::aReportLoadsNothingOfItsOwn()
{
    QFETCH(QString, html);
    QTemporaryDir teachers;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const QString &path : { teachers.filePath("foto.png"), workDir.filePath("foto.png"),
                                 workDir.filePath("\\\\server\\share\\foto.png") })
        QVERIFY(picture.save(path, "PNG"));
    writeFile(teachers.filePath("foto.css"), "p { color: red }");
    FileWatch watch({ teachers.path(), workDir.path() });
    if (!watch.isWatching())
        QSKIP("inotify is not available here");

    page->showReportHtml(html.arg(teachers.path()) + QStringLiteral("<a href=\"file:///etc/passwd\">link</a>"));
    auto *browser = view();
    browser->grab();
    PrintDevice *printing = DeviceModule::printing();
    QVERIFY(printing);
    QVERIFY(printing->pdf(*browser->document()).startsWith("%PDF"));
    QCOMPARE(watch.seen(), QStringList());

    const QUrl before = browser->source();
    QSignalSpy followed(browser, &QTextBrowser::sourceChanged);
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab); // to the link
    QTest::keyClick(browser, Qt::Key_Return);
    QCOMPARE(followed.count(), 0);
    QCOMPARE(browser->source(), before);
    QVERIFY(!button("pdfButton")->icon().isNull());
    QVERIFY(!button("printButton")->icon().isNull());
}

void TestResultsPage::saveAsPdf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("existing");
    QTest::newRow("name without suffix") << "resultat" << "resultat.pdf" << false;
    QTest::newRow("dotted name without suffix") << "Åse M. Berg" << "Åse M. Berg.pdf" << false;
    QTest::newRow("name with suffix") << "Åse.pdf" << "Åse.pdf" << false;
    QTest::newRow("own PDF saved again") << "gammel.pdf" << "gammel.pdf" << true;
}

// The PDF renders the report as loaded, under the name the learner chose, ending in ".pdf".
// The dialog opens in the working folder with a name of the learner's own.
void TestResultsPage::saveAsPdf()
{
    QFETCH(QString, name);
    QFETCH(QString, saved);
    QFETCH(bool, existing);

    folder = WorkingFolder(saveDir.path());
    const QString target = saveDir.filePath(saved);
    if (existing) {
        // The learner saved under this name before: that one PDF may be replaced, after a question.
        answerModal([this, name](QWidget *dialog) {
            typeFileName(qobject_cast<QFileDialog *>(dialog), saveDir.filePath(name));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(button("pdfButton"), Qt::LeftButton);
        QVERIFY(QFileInfo::exists(target));
    }
    // A change after loading must not reach the PDF either.
    writeFile(QStringLiteral("results.html"), QByteArray(report).replace("Trin 3", "Trin 9"));
    const QStringList workBefore = filesIn(workDir.path());

    auto seen = std::make_shared<SaveDialogSeen>();
    answerModal([seen, name, this](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        if (!files) {
            dialog->close();
            return;
        }
        seen->seen = true;
        seen->title = files->windowTitle();
        seen->filters = files->nameFilters();
        seen->mode = files->acceptMode();
        seen->readOnly = files->testOption(QFileDialog::ReadOnly);
        seen->folder = files->directory().absolutePath();
        if (auto *nameField = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            seen->suggested = nameField->text();
        // The page asks before it replaces a file.
        answerModal([seen](QWidget *question) {
            if (auto *box = qobject_cast<QMessageBox *>(question)) {
                seen->overwriteQuestion = true;
                box->button(QMessageBox::Yes)->click();
            }
        }, 1000);
        typeFileName(files, saveDir.filePath(name));
        QMetaObject::invokeMethod(files, "accept");
    });
    QTest::mouseClick(button("pdfButton"), Qt::LeftButton);

    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Gem resultater som PDF-fil"));
    QCOMPARE(seen->filters, QStringList { QStringLiteral("Adobe PDF-filer (*.pdf)") });
    QCOMPARE(seen->mode, QFileDialog::AcceptSave);
    QVERIFY(seen->readOnly);
    QCOMPARE(seen->folder, QFileInfo(saveDir.path()).absoluteFilePath());
    QCOMPARE(seen->suggested, QStringLiteral("Åse Ørnebæk %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
    QCOMPARE(seen->overwriteQuestion, existing);

    QCOMPARE(filesIn(saveDir.path()), QStringList { saved });
    const QByteArray pdf = readFile(target);
    QVERIFY2(pdf.startsWith("%PDF"), pdf.left(20).constData());
    QCOMPARE(filesIn(workDir.path()), workBefore);

    const QString text = pdfText(target);
    if (text.isEmpty())
        QSKIP("pdftotext is not installed; the PDF's text was not checked");
    QVERIFY2(text.contains(QStringLiteral("Åse Ørnebæk")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("kørte")));
    QVERIFY(text.contains(QStringLiteral("svømmede")));
    QVERIFY(text.contains(QStringLiteral("Trin 3")));
    QVERIFY(!text.contains(QStringLiteral("Trin 9")));
    expectNoFurtherBox();
}

void TestResultsPage::cancellingSaveWritesNothing()
{
    const QStringList workBefore = filesIn(workDir.path());
    auto record = answerModal([](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        if (files)
            typeFileName(files, QDir::current().filePath(QStringLiteral("fortrudt.pdf")));
        static_cast<QDialog *>(dialog)->reject();
    });
    QTest::mouseClick(button("pdfButton"), Qt::LeftButton);
    QVERIFY(record->seen);
    QCOMPARE(record->className, QStringLiteral("QFileDialog"));
    QCOMPARE(filesIn(workDir.path()), workBefore);
    QVERIFY(filesIn(saveDir.path()).isEmpty());
    QCOMPARE(readFile(QStringLiteral("results.html")), QByteArray(report));
    expectNoFurtherBox();
}

void TestResultsPage::othersFilesAreNeverReplaced_data()
{
    QTest::addColumn<QString>("name");     // typed: a name in the folder, or a whole path
    QTest::addColumn<QString>("existing"); // a file there that must stay as it is, or empty
    QTest::newRow("a report") << "results.html" << "results.html";
    QTest::newRow("another learner's PDF") << "Bo Ødegård.pdf" << "Bo Ødegård.pdf";
    QTest::newRow("another learner's PDF, typed without .pdf") << "Bo Ødegård" << "Bo Ødegård.pdf";
    QTest::newRow("the overview") << "resultater/oversigt.csv" << "resultater/oversigt.csv";
    QTest::newRow("the recovery file") << "skrivlo-gemt-test.json" << "skrivlo-gemt-test.json";
    QTest::newRow("the lock") << "skrivlo.lock" << "skrivlo.lock";
    QTest::newRow("a wildcard") << "*" << "";
    QTest::newRow("/etc") << "/etc/skrivlo" << "";
    QTest::newRow("beside the program") << QCoreApplication::applicationDirPath() + "/skrivlo" << "";
    QTest::newRow("out through ..") << "../skrivlo-udenfor" << "";
}

// Anything but a new PDF, or one saved by this page, is refused as a target, with a
// message, and the dialog stays open for another name; nothing outside the working folder
// is ever written.
void TestResultsPage::othersFilesAreNeverReplaced()
{
    QFETCH(QString, name);
    QFETCH(QString, existing);
    folder = WorkingFolder(saveDir.path());
    QDir().mkpath(saveDir.filePath(QStringLiteral("resultater")));
    const QString other = saveDir.filePath(existing);
    if (!existing.isEmpty())
        writeFile(other, QByteArray("another learner's report\n"));
    const QStringList before = filesIn(saveDir.path());
    const QString outside = QFileInfo(name).isAbsolute() ? name : saveDir.filePath(name);
    auto warning = std::make_shared<ModalRecord>();
    auto second = std::make_shared<bool>(false);
    answerModal([this, name, warning, second](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        answerModal([warning, second](QWidget *box) {
            warning->seen = true;
            warning->title = box->windowTitle();
            warning->text = qobject_cast<QMessageBox *>(box)->text();
            answerModal([second](QWidget *again) {
                *second = qobject_cast<QFileDialog *>(again) != nullptr;
                static_cast<QDialog *>(again)->reject();
            });
            static_cast<QDialog *>(box)->accept();
        }, 2000);
        if (QFileInfo(name).isRelative() && !name.startsWith(QLatin1String("..")))
            typeFileName(files, saveDir.filePath(name));
        else if (auto *nameField = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nameField->setText(name); // typed as a path into the name field
        QMetaObject::invokeMethod(files, "accept");
    });
    QTest::mouseClick(button("pdfButton"), Qt::LeftButton);
    QVERIFY(warning->seen);
    QCOMPARE(warning->title, QStringLiteral("Ups!"));
    QVERIFY(*second);
    if (!existing.isEmpty())
        QCOMPARE(readFile(other), QByteArray("another learner's report\n"));
    QCOMPARE(filesIn(saveDir.path()), before);
    QCOMPARE(filesIn(saveDir.filePath(QStringLiteral("resultater"))), QStringList(existing.startsWith("resultater") ? QStringList { QStringLiteral("oversigt.csv") } : QStringList()));
    if (existing.isEmpty())
        QVERIFY(!QFileInfo::exists(outside) && !QFileInfo::exists(outside + QStringLiteral(".pdf")));
}

void TestResultsPage::printToFileIsSavedByTheSameRules_data()
{
    QTest::addColumn<QString>("name");     // the print dialog's output file, in the working folder
    QTest::addColumn<QString>("existing"); // a file there that must stay as it is, or empty
    QTest::addColumn<QString>("written");  // the PDF written, or empty
    QTest::addColumn<QString>("told");     // the title of the box that tells why, or empty
    QTest::newRow("the overview") << "resultater/oversigt.csv" << "resultater/oversigt.csv" << "" << "Ups!";
    QTest::newRow("results.html") << "results.html" << "results.html" << "" << "Ups!";
    QTest::newRow("another learner's PDF") << "Bo Ødegård.pdf" << "Bo Ødegård.pdf" << "" << "Ups!";
    QTest::newRow("outside the working folder") << "../udenfor.pdf" << "" << "" << "Ups!";
    QTest::newRow("a new name") << "Åse på print.pdf" << "" << "Åse på print.pdf" << "";
    QTest::newRow("a name the disk takes not") << QString(300, QLatin1Char('a')) + ".pdf" << "" << ""
                                               << "PDF-filen er ikke gemt";
}

// "Udskriv til fil" in the print dialog: the dialog itself writes nothing; the page saves the
// PDF by the save dialog's rules, and a refused name leads to that dialog.
void TestResultsPage::printToFileIsSavedByTheSameRules()
{
    QFETCH(QString, name);
    QFETCH(QString, existing);
    QFETCH(QString, written);
    QFETCH(QString, told);
    folder = WorkingFolder(saveDir.path());
    QDir().mkpath(saveDir.filePath(QStringLiteral("resultater")));
    if (!existing.isEmpty())
        writeFile(saveDir.filePath(existing), QByteArray("another learner's report\n"));
    const QString output = QDir::cleanPath(saveDir.filePath(name));
    auto box = std::make_shared<ModalRecord>();
    auto saveDialog = std::make_shared<bool>(false);
    answerModal([output, box, saveDialog](QWidget *dialog) {
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        QVERIFY(printers && fileName);
        printers->setCurrentIndex(printers->count() - 1); // "Udskriv til fil (PDF)"
        fileName->setText(output);
        // Qt's own question before replacing is answered "Ja"; the page must still refuse.
        answerModal([box, saveDialog](QWidget *next) {
            auto record = [box, saveDialog](QWidget *shown) {
                if (auto *files = qobject_cast<QFileDialog *>(shown)) {
                    *saveDialog = true;
                    files->reject();
                    return;
                }
                box->seen = true;
                box->title = shown->windowTitle();
                box->text = qobject_cast<QMessageBox *>(shown)->text();
                answerModal([saveDialog](QWidget *again) {
                    *saveDialog = qobject_cast<QFileDialog *>(again) != nullptr;
                    static_cast<QDialog *>(again)->reject();
                }, 2000);
                static_cast<QDialog *>(shown)->accept();
            };
            if (auto *question = qobject_cast<QMessageBox *>(next); question && question->button(QMessageBox::Yes)) {
                answerModal(record, 2000);
                question->button(QMessageBox::Yes)->click();
                return;
            }
            record(next);
        }, 3000);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(button("printButton"), Qt::LeftButton);
    QTest::qWait(50);
    disarmModalAnswerers();
    if (!existing.isEmpty())
        QCOMPARE(readFile(saveDir.filePath(existing)), QByteArray("another learner's report\n"));
    QCOMPARE(box->seen, !told.isEmpty());
    QCOMPARE(box->title, told);
    QCOMPARE(*saveDialog, told == QLatin1String("Ups!"));
    QVERIFY(!QFileInfo::exists(QDir::cleanPath(saveDir.filePath(QStringLiteral("../udenfor.pdf")))));
    if (!written.isEmpty())
        QVERIFY(readFile(saveDir.filePath(written)).startsWith("%PDF"));
    else
        QVERIFY(!QFileInfo::exists(output) || !existing.isEmpty());
}

void TestResultsPage::cancellingPrintPrintsNothing()
{
    const QStringList workBefore = filesIn(workDir.path());
    const QStringList homeBefore = filesIn(QDir::homePath());
    auto record = answerModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QTest::mouseClick(button("printButton"), Qt::LeftButton);
    QVERIFY(record->seen);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(record->className, QStringLiteral("QPrintDialog"));
    QCOMPARE(record->title, QStringLiteral("Udskriv resultater"));
    QCOMPARE(filesIn(workDir.path()), workBefore);
    QCOMPARE(filesIn(QDir::homePath()), homeBefore);
    QVERIFY(view()->toPlainText().contains(QStringLiteral("Trin 3")));
    expectNoFurtherBox();

    // A second action starts afresh: the dialog comes up again.
    auto again = answerModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    QTest::mouseClick(button("printButton"), Qt::LeftButton);
    QVERIFY(again->seen);
    QCOMPARE(filesIn(workDir.path()), workBefore);
}

void TestResultsPage::teacherSavesAnywhereButTheClassFolder_data()
{
    QTest::addColumn<QString>("name");     // under a USB stick's folder, or "klasse/..." in the class folder
    QTest::addColumn<QString>("existing"); // a file there before, or empty
    QTest::addColumn<QString>("told");     // the box that says no, or empty when written
    QTest::newRow("a USB stick") << "Åse.pdf" << "" << "";
    QTest::newRow("a PDF there, replaced after a question") << "Åse.pdf" << "Åse.pdf" << "";
    QTest::newRow("a file that is not a PDF") << "noter.txt" << "noter.txt" << "Ups!";
    QTest::newRow("the class folder") << "klasse/Åse.pdf" << "" << "Ups!";
    QTest::newRow("below the class folder") << "klasse/gemte-test/Åse.pdf" << "" << "Ups!";
}

// In the teacher's view a learner's result may be saved wherever the teacher chooses, except
// in the class folder, which holds only the program's own files.
void TestResultsPage::teacherSavesAnywhereButTheClassFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, existing);
    QFETCH(QString, told);
    QTemporaryDir stick;
    const QString classFolder = stick.filePath(QStringLiteral("klasse"));
    QDir().mkpath(classFolder + QStringLiteral("/gemte-test"));
    page->saveAnywhereBut({ classFolder });
    if (!existing.isEmpty())
        writeFile(stick.filePath(existing), QByteArray("before\n"));
    const QString target = stick.filePath(name);
    auto box = std::make_shared<ModalRecord>();
    answerModal([target, box](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        QVERIFY(!files->testOption(QFileDialog::ReadOnly));
        answerModal([box](QWidget *next) {
            auto *shown = qobject_cast<QMessageBox *>(next);
            box->seen = true;
            box->title = next->windowTitle();
            box->text = shown ? shown->text() : QString();
            // A question before replacing is answered "Ja"; a refusal leads back to the dialog.
            if (shown && shown->button(QMessageBox::Yes)) {
                shown->button(QMessageBox::Yes)->click();
                return;
            }
            answerModal([](QWidget *again) { static_cast<QDialog *>(again)->reject(); }, 2000);
            static_cast<QDialog *>(next)->accept();
        }, 1000);
        typeFileName(files, target);
        QMetaObject::invokeMethod(files, "accept");
    });
    QTest::mouseClick(button("pdfButton"), Qt::LeftButton);
    QTest::qWait(50);
    disarmModalAnswerers();
    if (told.isEmpty()) {
        QVERIFY(readFile(target).startsWith("%PDF"));
        QCOMPARE(box->seen, !existing.isEmpty()); // only the question
        return;
    }
    QCOMPARE(box->title, told);
    if (name.startsWith(QLatin1String("klasse")))
        QVERIFY2(box->text.contains(QStringLiteral("klassemappen")), qPrintable(box->text));
    QVERIFY(!QFileInfo::exists(target) || readFile(target) == "before\n");
    QVERIFY(!QFileInfo::exists(PdfTarget::withPdfEnding(target)));
}

SKRIVLO_TEST_MAIN(TestResultsPage)
#include "tst_resultspage.moc"
