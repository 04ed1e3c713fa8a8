// The personal details page: required fields, the Return chain, the voice, and the first
// stage of the report written on an accepted click.

#include "pages/info.h"
#include "tests/support/answerkey.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "widgets/voiceplayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

const char *const fieldNames[] = {
    "dateEdit", "placeEdit", "nameEdit", "addressEdit", "birthYearEdit",
    "schoolEdit", "examEdit", "educationEdit", "jobEdit",
};

// The head as the report format fixes it, followed by the nine details as they must appear.
QByteArray expectedHeader(const QStringList &shown)
{
    QByteArray bytes =
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n\n"
            "<html>\n\n"
            "<head>\n"
            "<title>Resultater</title>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
            "</head>\n\n"
            "<body>\n\n"
            "<h2><u>Diktat til trinindplacering</u></h2>\n\n"
            "<p>\n<small>\n";
    bytes += "Dato: " + shown[0].toUtf8() + "<br>\n";
    bytes += "Undervisningssted: " + shown[1].toUtf8() + "<br>\n";
    bytes += "Navn: " + shown[2].toUtf8() + "<br>\n";
    bytes += "Adresse: " + shown[3].toUtf8() + "<br>\n";
    bytes += "F\xc3\xb8" "dsels\xc3\xa5r: " + shown[4].toUtf8() + "<br>\n";
    bytes += "Antal \xc3\xa5r i folkeskole: " + shown[5].toUtf8() + "<br>\n";
    bytes += "Studentereksamen: " + shown[6].toUtf8() + "<br>\n";
    bytes += "Uddannelse: " + shown[7].toUtf8() + "<br>\n";
    bytes += "Jobs: " + shown[8].toUtf8() + "\n</small>\n\n";
    return bytes;
}

QString focusName()
{
    QWidget *focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("<none>");
}

QString todayText()
{
    const QDate today = QDate::currentDate();
    return QStringLiteral("%1/%2-%3").arg(today.day()).arg(today.month()).arg(today.year());
}

} // namespace

class TestInfoPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dateFieldPrefilledWithToday();
    void showingFocusesPlaceAndPlays();
    void refusedClickWarnsInFixedOrder_data();
    void refusedClickWarnsInFixedOrder();
    void warningsFollowOneAnotherAsFieldsAreFilled();
    void returnMovesOnWithoutSubmitting_data();
    void returnMovesOnWithoutSubmitting();
    void speakerPlaysExplanationAgain();
    void acceptedClickWritesHeader_data();
    void acceptedClickWritesHeader();

private:
    QLineEdit *field(const char *name) const { return page->findChild<QLineEdit *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const { return page->findChild<QPushButton *>(QLatin1String(name)); }
    void fillRequired(const QString &name, const QString &address, const QString &year);
    // A box where none belongs would block the click; the guard closes and records it.
    std::shared_ptr<ModalRecord> armGuard()
    {
        return guardNoModal();
    }

    TestFolder workDir;
    QWidget *host = nullptr;
    Info *page = nullptr;
};

void TestInfoPage::initTestCase()
{
    QVERIFY(workDir.isValid());
}

// The page sits hidden in an active window, as in the main window, and is then shown.
void TestInfoPage::init()
{
    QFile::remove(QStringLiteral("results.html"));
    host = new QWidget;
    auto *layout = new QVBoxLayout(host);
    page = new Info(host, workDir.session());
    page->setVisible(false);
    layout->addWidget(page);
    host->show();
    QVERIFY(QTest::qWaitForWindowActive(host));
    page->show();
}

void TestInfoPage::cleanup()
{
    // A guard still polling would answer the next test's box.
    disarmModalAnswerers();
    delete host;
    host = nullptr;
    page = nullptr;
}

void TestInfoPage::fillRequired(const QString &name, const QString &address, const QString &year)
{
    field("nameEdit")->setText(name);
    field("addressEdit")->setText(address);
    field("birthYearEdit")->setText(year);
}

void TestInfoPage::dateFieldPrefilledWithToday()
{
    QCOMPARE(field("dateEdit")->text(), todayText());
    QVERIFY(!field("dateEdit")->isReadOnly());
    QVERIFY(field("dateEdit")->minimumWidth() >= 350);
    for (const char *name : fieldNames) {
        if (qstrcmp(name, "dateEdit") != 0)
            QVERIFY2(field(name)->text().isEmpty(), name);
    }
}

void TestInfoPage::showingFocusesPlaceAndPlays()
{
    QCOMPARE(QApplication::focusWidget(), field("placeEdit"));
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/info.wav"));
    QVERIFY(!voicePlayer->isStopped());

    // Each time the page is shown it starts the recording again.
    page->hide();
    field("jobEdit")->setFocus();
    const int plays = voicePlayer->playCount();
    page->show();
    QCOMPARE(voicePlayer->playCount(), plays + 1);
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/info.wav"));
    QCOMPARE(QApplication::focusWidget(), field("placeEdit"));
}

void TestInfoPage::refusedClickWarnsInFixedOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");

    const QString name = QStringLiteral("Du mangler at skrive dit navn!");
    const QString address = QStringLiteral("Du mangler at skrive din adresse!");
    const QString year = QStringLiteral("Du mangler at skrive dit fødselsår!");
    QTest::newRow("all empty") << "" << "" << "" << name << "nameEdit";
    QTest::newRow("only name empty") << "" << "Vej 1" << "1980" << name << "nameEdit";
    QTest::newRow("name and year empty") << "" << "Vej 1" << "" << name << "nameEdit";
    QTest::newRow("address and year empty") << "Ole" << "" << "" << address << "addressEdit";
    QTest::newRow("only address empty") << "Ole" << "" << "1980" << address << "addressEdit";
    QTest::newRow("only year empty") << "Ole" << "Vej 1" << "" << year << "birthYearEdit";
}

// A refused click shows one warning, moves the cursor to that field, writes nothing, leaves
// the recording playing and does not leave the page.
void TestInfoPage::refusedClickWarnsInFixedOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, year);
    QFETCH(QString, message);
    QFETCH(QString, focused);

    const QByteArray earlier = "earlier learner's report\n";
    QVERIFY(writeReport(workDir.session(), earlier));
    fillRequired(name, address, year);
    field("jobEdit")->setFocus();
    QVERIFY(!voicePlayer->isStopped());
    const int plays = voicePlayer->playCount();
    const int stops = voicePlayer->stopCount();
    QSignalSpy nextPage(page, &Info::nextPage);

    auto seen = answerMessageBox(QStringLiteral("OK"));
    QTest::mouseClick(button("nextButton"), Qt::LeftButton);

    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Ups!"));
    QCOMPARE(seen->text, message);
    QCOMPARE(seen->icon, QMessageBox::Warning);
    QCOMPARE(seen->buttons.size(), 1);
    QCOMPARE(seen->standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // The offscreen platform does not hand the activation back when the box closes (a
    // window manager does); the field must be the one that holds the cursor once it is back.
    QCOMPARE(host->focusWidget()->objectName(), focused);
    host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host));
    QCOMPARE(focusName(), focused);

    QCOMPARE(nextPage.count(), 0);
    QCOMPARE(readReport(), earlier);
    QVERIFY(!voicePlayer->isStopped());
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/info.wav"));
    QCOMPARE(voicePlayer->playCount(), plays);
    QCOMPARE(voicePlayer->stopCount(), stops);
    QCOMPARE(field("nameEdit")->text(), name);
    QCOMPARE(field("addressEdit")->text(), address);
    QCOMPARE(field("birthYearEdit")->text(), year);
}

void TestInfoPage::warningsFollowOneAnotherAsFieldsAreFilled()
{
    QSignalSpy nextPage(page, &Info::nextPage);
    const struct {
        const char *fill;
        const char *value;
        const char *message;
    } steps[] = {
        { nullptr, nullptr, "Du mangler at skrive dit navn!" },
        { "nameEdit", "Ole", "Du mangler at skrive din adresse!" },
        { "addressEdit", "Vej 1", "Du mangler at skrive dit fødselsår!" },
    };
    for (const auto &step : steps) {
        if (step.fill)
            QTest::keyClicks(field(step.fill), QString::fromUtf8(step.value));
        auto seen = answerMessageBox(QStringLiteral("OK"));
        QTest::mouseClick(button("nextButton"), Qt::LeftButton);
        QVERIFY(seen->seen);
        QCOMPARE(seen->text, QString::fromUtf8(step.message));
    }
    QCOMPARE(nextPage.count(), 0);
    QVERIFY(!QFile::exists(QStringLiteral("results.html")));

    QTest::keyClicks(field("birthYearEdit"), QStringLiteral("firs"));
    auto guard = armGuard();
    QTest::mouseClick(button("nextButton"), Qt::LeftButton);
    QCOMPARE(nextPage.count(), 1);
    QVERIFY(!guard->seen);
    QVERIFY(QFile::exists(QStringLiteral("results.html")));
}

void TestInfoPage::returnMovesOnWithoutSubmitting_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");

    QTest::newRow("date") << "dateEdit" << "placeEdit" << int(Qt::Key_Return);
    QTest::newRow("place") << "placeEdit" << "nameEdit" << int(Qt::Key_Return);
    QTest::newRow("name") << "nameEdit" << "addressEdit" << int(Qt::Key_Return);
    QTest::newRow("address") << "addressEdit" << "birthYearEdit" << int(Qt::Key_Return);
    QTest::newRow("year") << "birthYearEdit" << "schoolEdit" << int(Qt::Key_Return);
    QTest::newRow("school") << "schoolEdit" << "examEdit" << int(Qt::Key_Return);
    QTest::newRow("exam") << "examEdit" << "educationEdit" << int(Qt::Key_Return);
    QTest::newRow("education") << "educationEdit" << "jobEdit" << int(Qt::Key_Return);
    QTest::newRow("job wraps to place") << "jobEdit" << "placeEdit" << int(Qt::Key_Return);
    QTest::newRow("keypad enter in job") << "jobEdit" << "placeEdit" << int(Qt::Key_Enter);
    QTest::newRow("keypad enter in name") << "nameEdit" << "addressEdit" << int(Qt::Key_Enter);
}

// Filled required fields make sure that a Return which submitted would show up.
void TestInfoPage::returnMovesOnWithoutSubmitting()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);

    fillRequired(QStringLiteral("Ole"), QStringLiteral("Vej 1"), QStringLiteral("1980"));
    QSignalSpy nextPage(page, &Info::nextPage);
    QLineEdit *start = field(from.toLatin1().constData());
    start->setFocus();
    QCOMPARE(QApplication::focusWidget(), start);

    auto guard = armGuard();
    QTest::keyClick(start, Qt::Key(key));
    QCOMPARE(focusName(), to);
    QCOMPARE(nextPage.count(), 0);
    QVERIFY(!QFile::exists(QStringLiteral("results.html")));
    QVERIFY(!voicePlayer->isStopped());
    QVERIFY(!guard->seen);
}

void TestInfoPage::speakerPlaysExplanationAgain()
{
    voicePlayer->stop();
    QVERIFY(voicePlayer->isStopped());
    const int plays = voicePlayer->playCount();
    QTest::mouseClick(button("voiceButton"), Qt::LeftButton);
    QCOMPARE(voicePlayer->playCount(), plays + 1);
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/info.wav"));
    QVERIFY(!voicePlayer->isStopped());
}

void TestInfoPage::acceptedClickWritesHeader_data()
{
    QTest::addColumn<QStringList>("typed");  // nine fields; an empty date keeps today's date
    QTest::addColumn<QStringList>("shown");  // as the report must hold them

    QTest::newRow("markup and Danish letters")
            << QStringList { "3/10-2010", "Sprogcenter Århus", "<b>&Ærø", "Søndergade 5, \"Øst\"",
                             "nitten halvfjerds", "9 år", "nej", "smed & maler", "ja > nej, O'Brien's" }
            << QStringList { "3/10-2010", "Sprogcenter Århus", "&lt;b&gt;&amp;Ærø",
                             "Søndergade 5, &quot;Øst&quot;", "nitten halvfjerds", "9 år", "nej",
                             "smed &amp; maler", "ja &gt; nej, O'Brien's" };
    QTest::newRow("optional fields empty")
            << QStringList { "", "", "Åse", "Vej 1", "1985", "", "", "", "" }
            << QStringList { todayText(), "", "Åse", "Vej 1", "1985", "", "", "", "" };
    QTest::newRow("blanks only are accepted unchanged")
            << QStringList { "", " ", "  ", " ", "   ", "", "", "", " " }
            << QStringList { todayText(), " ", "  ", " ", "   ", "", "", "", " " };
    // A paste may bring NUL, ESC and a right-to-left override, and a decomposed "å".
    QTest::newRow("pasted controls left out, letters composed")
            << QStringList { "", QString::fromUtf8("Sprogcenter A\u030Arhus"), QStringLiteral("Ole\u202E Hansen"),
                             QString(QStringLiteral("Vej 1")) + QChar(0) + QStringLiteral("\x1b[2J"), "1985", "", "", "", "" }
            << QStringList { todayText(), "Sprogcenter Århus", "Ole Hansen", "Vej 1[2J", "1985", "", "", "", "" };
    QTest::newRow("date cleared")
            << QStringList { "<cleared>", "x", "y", "z", "w", "", "", "", "" }
            << QStringList { "", "x", "y", "z", "w", "", "", "", "" };
}

// The header replaces any earlier report, and is complete before the voice stops and before
// nextPage() is emitted.
void TestInfoPage::acceptedClickWritesHeader()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);

    QVERIFY(writeReport(workDir.session(), QByteArray(5000, 'x')));
    for (int i = 0; i < 9; ++i) {
        if (i == 0 && typed[0].isEmpty())
            continue;
        field(fieldNames[i])->setText(typed[i] == QLatin1String("<cleared>") ? QString() : typed[i]);
    }
    QVERIFY(!voicePlayer->isStopped());
    const int stops = voicePlayer->stopCount();

    QByteArray reportAtSignal;
    bool stoppedAtSignal = false;
    int stopsAtSignal = -1;
    connect(page, &Info::nextPage, this, [&]() {
        reportAtSignal = readReport();
        stoppedAtSignal = voicePlayer->isStopped();
        stopsAtSignal = voicePlayer->stopCount();
    });
    QSignalSpy nextPage(page, &Info::nextPage);

    auto guard = armGuard();
    QTest::mouseClick(button("nextButton"), Qt::LeftButton);
    QVERIFY(!guard->seen);
    QCOMPARE(nextPage.count(), 1);

    const QByteArray expected = expectedHeader(shown);
    QCOMPARE(readReport(), expected);
    QCOMPARE(reportAtSignal, expected);
    QVERIFY(stoppedAtSignal);
    QCOMPARE(stopsAtSignal, stops + 1);
}

SKRIVLO_TEST_MAIN(TestInfoPage)
#include "tst_infopage.moc"
