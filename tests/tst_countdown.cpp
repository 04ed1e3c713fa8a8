// The countdown of a dictation, driven tick by tick through its slot instead of waiting
// for minutes: its texts, its bar, and the lock of the dictation page when time runs out.

#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "dictation/dictateword.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "testwindow/mainwindow.h"
#include "testwindow/timelimiter.h"
#include "widgets/voiceplayer.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hiddenUntilStarted();
    void ticks_data();
    void ticks();
    void expiryLocksOnlyItsOwnPage_data();
    void expiryLocksOnlyItsOwnPage();
    void stopHidesAndRestartBeginsAfresh();

private:
    void tick(int times);
    QString shownText() const { return countdown->findChild<QLabel *>(QStringLiteral("minutesLabel"))->text(); }
    QProgressBar *bar() const { return countdown->findChild<QProgressBar *>(QStringLiteral("progressBar")); }
    static bool allLocked(const DictationPage *page);
    static bool noneLocked(const DictationPage *page);

    TestFolder workDir;
    std::unique_ptr<MainWindow> window;
    TimeLimiter *countdown = nullptr;
};

void TestCountdown::initTestCase()
{
    QVERIFY(workDir.isValid());
}

// The real window: it sets the program-wide page pointers the countdown locks through.
void TestCountdown::init()
{
    window = std::make_unique<MainWindow>(workDir.session());
    countdown = window->findChild<TimeLimiter *>(QStringLiteral("countdown"));
    QVERIFY(countdown);
    QCOMPARE(dictate1Page, window->firstDictation());
    QCOMPARE(dictate2Page, window->secondDictation());
}

void TestCountdown::cleanup()
{
    window.reset();
    countdown = nullptr;
}

void TestCountdown::tick(int times)
{
    for (int i = 0; i < times; ++i)
        countdown->advanceMinute();
}

bool TestCountdown::allLocked(const DictationPage *page)
{
    for (const DictateWord *field : page->words()) {
        if (field->isEnabled())
            return false;
    }
    return page->isTimeUp();
}

bool TestCountdown::noneLocked(const DictationPage *page)
{
    for (const DictateWord *field : page->words()) {
        if (!field->isEnabled())
            return false;
    }
    return !page->isTimeUp();
}

void TestCountdown::hiddenUntilStarted()
{
    QVERIFY(countdown->isHidden());
    QVERIFY(!bar()->isTextVisible());
    QCOMPARE(bar()->maximumHeight(), 12);
}

void TestCountdown::ticks_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("dictation");
    QTest::addColumn<int>("ticks"); // minutes gone since the start
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("workedMs"); // before a crash, when the test is continued

    const QString lastMinute = QStringLiteral("<html>Du har <b>kun</b> 1 minut tilbage</html>");
    const QString over = QStringLiteral("Tiden er udløbet!");
    QTest::newRow("10 min, at the start") << 10 << 1 << 0 << "Du har 10 minutter tilbage" << 10 << 0;
    QTest::newRow("10 min, after 1") << 10 << 1 << 1 << "Du har 9 minutter tilbage" << 9 << 0;
    QTest::newRow("10 min, after 8") << 10 << 1 << 8 << "Du har 2 minutter tilbage" << 2 << 0;
    QTest::newRow("10 min, after 9") << 10 << 1 << 9 << lastMinute << 1 << 0;
    QTest::newRow("10 min, after 10") << 10 << 1 << 10 << over << 0 << 0;
    QTest::newRow("30 min, at the start") << 30 << 2 << 0 << "Du har 30 minutter tilbage" << 30 << 0;
    QTest::newRow("30 min, after 28") << 30 << 2 << 28 << "Du har 2 minutter tilbage" << 2 << 0;
    QTest::newRow("30 min, after 29") << 30 << 2 << 29 << lastMinute << 1 << 0;
    QTest::newRow("30 min, after 30") << 30 << 2 << 30 << over << 0 << 0;
    QTest::newRow("10 min, continued after 61 s") << 10 << 1 << 0 << "Du har 9 minutter tilbage" << 9 << 61000;
    QTest::newRow("10 min, continued after 8:30, 1 tick") << 10 << 1 << 1 << lastMinute << 1 << 510000;
    QTest::newRow("30 min, continued after 29:59") << 30 << 2 << 0 << lastMinute << 1 << 1799000;
    QTest::newRow("30 min, continued after 30:05") << 30 << 2 << 0 << over << 0 << 1805000;
}

// The page is locked, and timeOut() emitted once, exactly when "Tiden er udløbet!" appears;
// the countdown stays on screen and no box comes up.
void TestCountdown::ticks()
{
    QFETCH(int, minutes);
    QFETCH(int, dictation);
    QFETCH(int, ticks);
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(int, workedMs);

    DictationPage *page = dictation == 1 ? static_cast<DictationPage *>(dictate1Page) : dictate2Page;
    QSignalSpy timeOut(countdown, &TimeLimiter::timeOut);
    auto guard = guardNoModal(200);

    countdown->startCountdown(minutes, dictation, workedMs);
    const auto *timer = countdown->findChild<QTimer *>();
    const bool expired = ticks + workedMs / 60000 >= minutes;
    // The first tick ends the minute that was running before the crash.
    QCOMPARE(timer->isActive(), workedMs < minutes * 60000);
    if (timer->isActive())
        QCOMPARE(timer->interval(), 60000 - workedMs % 60000);
    QVERIFY(!countdown->isHidden());
    QCOMPARE(bar()->minimum(), 0);
    QCOMPARE(bar()->maximum(), minutes);
    tick(ticks);

    QCOMPARE(shownText(), text);
    QCOMPARE(bar()->value(), value);
    QVERIFY(!countdown->isHidden());
    QCOMPARE(timeOut.count(), expired ? 1 : 0);
    QVERIFY(expired ? allLocked(page) : noneLocked(page));
    QTest::qWait(250);
    QVERIFY(!guard->seen);
}

void TestCountdown::expiryLocksOnlyItsOwnPage_data()
{
    QTest::addColumn<int>("dictation");
    QTest::newRow("dictation 1") << 1;
    QTest::newRow("dictation 2") << 2;
}

void TestCountdown::expiryLocksOnlyItsOwnPage()
{
    QFETCH(int, dictation);
    const int minutes = dictation == 1 ? 10 : 30;
    dictate1Page->words().first()->setText(QStringLiteral("kørte"));
    dictate2Page->words().first()->setText(QStringLiteral("ankom"));

    countdown->startCountdown(minutes, dictation);
    tick(minutes);
    QVERIFY(allLocked(dictation == 1 ? static_cast<DictationPage *>(dictate1Page) : dictate2Page));
    QVERIFY(noneLocked(dictation == 1 ? static_cast<DictationPage *>(dictate2Page) : dictate1Page));
    // The lock leaves the answers alone.
    QCOMPARE(dictate1Page->words().first()->text(), QStringLiteral("kørte"));
    QCOMPARE(dictate2Page->words().first()->text(), QStringLiteral("ankom"));
}

// Leaving a dictation hides the countdown; Dictation 2 then starts from 30 with a full bar.
void TestCountdown::stopHidesAndRestartBeginsAfresh()
{
    QSignalSpy timeOut(countdown, &TimeLimiter::timeOut);
    countdown->startCountdown(10, 1);
    tick(4);
    QCOMPARE(shownText(), QStringLiteral("Du har 6 minutter tilbage"));
    countdown->stopCountdown();
    QVERIFY(countdown->isHidden());
    QCOMPARE(shownText(), QStringLiteral("Du har 6 minutter tilbage")); // overwritten at the next start
    QVERIFY(noneLocked(dictate1Page));

    countdown->startCountdown(30, 2);
    QVERIFY(!countdown->isHidden());
    QCOMPARE(shownText(), QStringLiteral("Du har 30 minutter tilbage"));
    QCOMPARE(bar()->maximum(), 30);
    QCOMPARE(bar()->value(), 30);
    tick(30);
    QCOMPARE(shownText(), QStringLiteral("Tiden er udløbet!"));
    QCOMPARE(timeOut.count(), 1);
    QVERIFY(allLocked(dictate2Page));
    QVERIFY(noneLocked(dictate1Page));
    countdown->stopCountdown();
    QVERIFY(countdown->isHidden());
}

SKRIVLO_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
