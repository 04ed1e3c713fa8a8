// The page sequence through the real main window, driven by its green arrows: the branch
// after the first dictation, the progress panel, the countdown and the closing reminder.

#include "archive/recoveryfile.h"
#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "dictation/dictateword.h"
#include "model/recoverytext.h"
#include "pages/dictate1help.h"
#include "pages/dictate2help.h"
#include "pages/info.h"
#include "pages/results.h"
#include "pages/welcome.h"
#include "safekeeping/autosave.h"
#include "safekeeping/classsync.h"
#include "tests/support/answerkey.h"
#include "tests/support/modaldialog.h"
#include "tests/support/testfolder.h"
#include "testwindow/mainwindow.h"
#include "testwindow/timelimiter.h"
#include "widgets/voiceplayer.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

const char *const stepNames[7] = {
    "Velkommen", "Oplysninger om dig selv", "Hjælp til Diktat 1", "Diktat 1",
    "Hjælp til Diktat 2", "Diktat 2", "Resultater",
};

QString doneForm(int step)
{
    return QString::fromUtf8(stepNames[step]);
}

QString markedForm(int step)
{
    return QStringLiteral("<html>▶ <b>%1</b></html>").arg(QString::fromUtf8(stepNames[step]));
}

QString futureForm(int step)
{
    return QStringLiteral("<html><font color=\"gray\">%1</font></html>").arg(QString::fromUtf8(stepNames[step]));
}

// One message box as it came up, with what was on screen behind it.
struct BoxSeen
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget *parent = nullptr;
    QStringList visiblePages;
    bool countdownVisible = false;
    QString report;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnWelcome();
    void drawnAheadShowsAsBefore();
    void sequenceAndBranch_data();
    void sequenceAndBranch();
    void timeUpHandsInWithOnlyTheReminder();
    void closingTheWindowDestroysEveryPage();
    void everyPageSpeaksAndFitsSmallScreens();
    void recoveryFileKeepsUpAndTells_data();
    void recoveryFileKeepsUpAndTells();
    void resultsLineFollowsTheSends();

private:
    QWidget *page(const char *name) const;
    QPushButton *arrowOf(QWidget *page) const { return page->findChild<QPushButton *>(QStringLiteral("nextButton")); }
    QStringList visiblePages() const;
    void checkScreen(TestStep step, const QString &pageName);
    // The offscreen platform does not give the activation back when a box closes; a window
    // manager does.
    void reactivate()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void clickArrow(const char *pageName);
    // Answers every box until none has come for a while: "Ja" in the hand-in question, OK
    // in the reminder.
    void answerBoxes();
    void fillInfo();
    void fillDictation1(int right);

    TestFolder workDir;
    std::unique_ptr<Session> otherSession; // outlives the window that uses it
    std::unique_ptr<MainWindow> window;
    TimeLimiter *countdown = nullptr;
    std::shared_ptr<QList<BoxSeen>> boxes;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(workDir.isValid());
}

void TestMainWindow::init()
{
    QFile::remove(QStringLiteral("results.html"));
    boxes = std::make_shared<QList<BoxSeen>>();
    window = std::make_unique<MainWindow>(workDir.session());
    countdown = window->findChild<TimeLimiter *>(QStringLiteral("countdown"));
    QVERIFY(countdown);
    window->resize(1280, 1024);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestMainWindow::cleanup()
{
    // Let the box answerer run out so it cannot answer a later test's box.
    disarmModalAnswerers();
    window.reset();
    otherSession.reset();
}

QWidget *TestMainWindow::page(const char *name) const
{
    if (qstrcmp(name, "dictate2") == 0)
        return dictate2Page;
    return window->findChild<QWidget *>(QLatin1String(name));
}

QStringList TestMainWindow::visiblePages() const
{
    QStringList shown;
    for (const char *name : { "welcome", "info", "dictate1Help", "dictate1", "dictate2Help", "dictate2", "results" }) {
        QWidget *w = page(name);
        if (w && w->isVisible())
            shown.append(QLatin1String(name));
    }
    return shown;
}

// Exactly one page on screen; the panel marks its step with the ones before done and the
// ones after grey; the countdown shows exactly while a dictation is on screen.
void TestMainWindow::checkScreen(TestStep current, const QString &pageName)
{
    QCOMPARE(window->currentStep(), current);
    QCOMPARE(visiblePages(), QStringList { pageName });
    const int marked = int(current);
    for (int step = 0; step < 7; ++step) {
        auto *label = window->findChild<QLabel *>(QStringLiteral("step%1").arg(step));
        QVERIFY(label);
        const QString expected = step < marked ? doneForm(step) : step == marked ? markedForm(step) : futureForm(step);
        QCOMPARE(label->text(), expected);
    }
    const bool dictation = pageName == QLatin1String("dictate1") || pageName == QLatin1String("dictate2");
    QCOMPARE(countdown->isVisible(), dictation);
}

void TestMainWindow::clickArrow(const char *pageName)
{
    QPushButton *arrow = arrowOf(page(pageName));
    QVERIFY(arrow);
    QTest::mouseClick(arrow, Qt::LeftButton);
}

void TestMainWindow::answerBoxes()
{
    auto list = boxes;
    QWidget *win = window.get();
    TimeLimiter *clock = countdown;
    // Each answer arms the next one before it clicks, so a box that follows is caught too.
    // Only a waiting answer holds the function, so it goes when the last one runs out.
    std::shared_ptr<std::function<void()>> arm = std::make_shared<std::function<void()>>();
    *arm = [list, win, clock, weakArm = std::weak_ptr<std::function<void()>>(arm), this]() {
        answerModal([list, win, clock, arm = weakArm.lock(), this](QWidget *dialog) {
            BoxSeen seen;
            seen.title = dialog->windowTitle();
            auto *box = qobject_cast<QMessageBox *>(dialog);
            if (box) {
                seen.text = box->text();
                seen.icon = box->icon();
                for (QAbstractButton *button : box->buttons())
                    seen.buttons.append(button->text().remove(QLatin1Char('&')));
            }
            seen.parent = dialog->parentWidget();
            seen.visiblePages = visiblePages();
            seen.countdownVisible = clock->isVisible();
            if (auto *view = win->findChild<QTextBrowser *>(QStringLiteral("reportView")))
                seen.report = view->toPlainText();
            list->append(seen);
            (*arm)();
            if (box) {
                for (QAbstractButton *button : box->buttons()) {
                    const QString text = button->text().remove(QLatin1Char('&'));
                    if (text == QLatin1String("Ja") || text == QLatin1String("OK")) {
                        button->click();
                        return;
                    }
                }
            }
            dialog->close();
        }, 500);
    };
    (*arm)();
}

void TestMainWindow::fillInfo()
{
    page("info")->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Åse Ørnebæk"));
    page("info")->findChild<QLineEdit *>(QStringLiteral("addressEdit"))->setText(QStringLiteral("Vej 1"));
    page("info")->findChild<QLineEdit *>(QStringLiteral("birthYearEdit"))->setText(QStringLiteral("1977"));
}

void TestMainWindow::fillDictation1(int right)
{
    for (int n = 1; n <= 20; ++n) {
        auto *field = page("dictate1")->findChild<DictateWord *>(RecoveryText::answerKey(n));
        field->setText(n <= right ? QString::fromUtf8(AnswerKey::words1[n - 1]) : QStringLiteral("forkert"));
    }
}

void TestMainWindow::startsOnWelcome()
{
    checkScreen(TestStep::Welcome, QStringLiteral("welcome"));
    QVERIFY(countdown->isHidden());
    // The later pages are built when they are first needed, not before the window shows.
    QVERIFY(!window->findChild<Dictate1 *>());
    QVERIFY(!dictate1Page && !dictate2Page);
}

// Drawn ahead while the password is typed, a window stays hidden and keeps no size of its
// own: shown, it comes up as one that was not, each part in the same place and size.
void TestMainWindow::drawnAheadShowsAsBefore()
{
    MainWindow ahead(workDir.session());
    ahead.drawAhead();
    QVERIFY(!ahead.isVisible());
    QVERIFY(!ahead.testAttribute(Qt::WA_Resized));
    MainWindow plain(workDir.session());
    for (MainWindow *shown : { &ahead, &plain }) {
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
    }
    QCOMPARE(ahead.size(), plain.size());
    for (const char *name : { "overview", "scrollArea", "welcome", "voiceButton", "nextButton" }) {
        const QWidget *a = ahead.findChild<QWidget *>(QLatin1String(name));
        const QWidget *p = plain.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(a && p, name);
        QCOMPARE(a->mapTo(&ahead, QPoint(0, 0)), p->mapTo(&plain, QPoint(0, 0)));
        QCOMPARE(a->size(), p->size());
    }
}

void TestMainWindow::sequenceAndBranch_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("passed");
    QTest::newRow("17 right: straight to the results") << 17 << false;
    QTest::newRow("0 right: straight to the results") << 0 << false;
    QTest::newRow("18 right: on to Dictation 2") << 18 << true;
    QTest::newRow("20 right: on to Dictation 2") << 20 << true;
}

void TestMainWindow::sequenceAndBranch()
{
    QFETCH(int, right);
    QFETCH(bool, passed);

    int help2Shows = 0;
    struct ShowCounter : QObject
    {
        int *count;
        explicit ShowCounter(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Show)
                ++*count;
            return false;
        }
    } help2Counter(&help2Shows);
    window->dictate2HelpPage()->installEventFilter(&help2Counter);

    clickArrow("welcome");
    checkScreen(TestStep::Details, QStringLiteral("info"));
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/info.wav"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("placeEdit"));

    fillInfo();
    clickArrow("info");
    checkScreen(TestStep::Dictation1Help, QStringLiteral("dictate1Help"));
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/dik1help.wav"));
    QVERIFY(QFile::exists(QStringLiteral("results.html")));

    clickArrow("dictate1Help");
    checkScreen(TestStep::Dictation1, QStringLiteral("dictate1"));
    QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/1.wav"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("word1"));
    QCOMPARE(countdown->findChild<QLabel *>(QStringLiteral("minutesLabel"))->text(),
             QStringLiteral("Du har 10 minutter tilbage"));
    QCOMPARE(countdown->findChild<QProgressBar *>(QStringLiteral("progressBar"))->value(), 10);

    fillDictation1(right);
    answerBoxes();
    clickArrow("dictate1");
    reactivate();

    if (passed) {
        QCOMPARE(boxes->size(), 1);
        QCOMPARE(boxes->at(0).title, QStringLiteral("Advarsel!"));
        checkScreen(TestStep::Dictation2Help, QStringLiteral("dictate2Help"));
        QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/dik2help.wav"));
        QCOMPARE(help2Shows, 1);

        clickArrow("dictate2Help");
        checkScreen(TestStep::Dictation2, QStringLiteral("dictate2"));
        auto *area = qobject_cast<QScrollArea *>(page("scrollArea"));
        QVERIFY(area->isAncestorOf(dictate2Page));
        QVERIFY(dictate2Page->isVisible());
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QVERIFY(area->width() >= 850);
        // On this screen the whole width of the story fits; the height scrolls.
        QVERIFY(dictate2Page->width() <= area->viewport()->width());
        QTRY_VERIFY(dictate2Page->height() > area->viewport()->height());
        QVERIFY(area->verticalScrollBar()->isVisible());
        QCOMPARE(voicePlayer->currentPath(), QStringLiteral("sounds/21.wav"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("word21"));
        QCOMPARE(countdown->findChild<QLabel *>(QStringLiteral("minutesLabel"))->text(),
                 QStringLiteral("Du har 30 minutter tilbage"));
        QCOMPARE(countdown->findChild<QProgressBar *>(QStringLiteral("progressBar"))->value(), 30);

        // Enter moves the cursor down the story; the area follows it below the visible part.
        for (int n = 21; n < 66; ++n)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        auto *far = dictate2Page->findChild<DictateWord *>(QStringLiteral("word66"));
        QCOMPARE(QApplication::focusWidget(), far);
        QVERIFY(area->verticalScrollBar()->value() > 0);
        QVERIFY(area->viewport()->rect().contains(QRect(far->mapTo(area->viewport(), QPoint(0, 0)), far->size())));

        for (int n = 21; n <= 80; ++n)
            dictate2Page->findChild<DictateWord *>(RecoveryText::answerKey(n))->setText(QString::fromUtf8(AnswerKey::words2[n - 21]));
        clickArrow("dictate2");
    }

    // The reminder comes once, over the results page, with the report already loaded.
    QTest::qWait(100); // boxes come up inside the click; this lets anything queued arrive too
    QCOMPARE(boxes->size(), passed ? 3 : 2);
    const BoxSeen &question = boxes->at(passed ? 1 : 0);
    QCOMPARE(question.title, QStringLiteral("Advarsel!"));
    const BoxSeen &reminder = boxes->last();
    QCOMPARE(reminder.title, QStringLiteral("Vigtigt!"));
    QCOMPARE(reminder.text, QStringLiteral("Du skal huske at udskrive resultaterne.\nFå evt. din lærer til at hjælpe."));
    QCOMPARE(reminder.icon, QMessageBox::Information);
    QCOMPARE(reminder.buttons, QStringList { QStringLiteral("OK") });
    QCOMPARE(reminder.parent, window.get());
    QCOMPARE(reminder.visiblePages, QStringList { QStringLiteral("results") });
    QVERIFY(!reminder.countdownVisible);
    QVERIFY(reminder.report.contains(QStringLiteral("Navn: Åse Ørnebæk")));
    QVERIFY(reminder.report.contains(passed ? QStringLiteral("Trin 4") : QStringLiteral("Trin 1")));

    checkScreen(TestStep::Results, QStringLiteral("results"));
    QVERIFY(countdown->isHidden());
    QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("reportView"));
    if (!passed) {
        QCOMPARE(help2Shows, 0);
        QVERIFY(!dictate2Page); // never needed, so never built
    }

    // Pages that were left are hidden, not destroyed, and keep what was typed.
    QCOMPARE(page("info")->findChild<QLineEdit *>(QStringLiteral("nameEdit"))->text(), QStringLiteral("Åse Ørnebæk"));
    QCOMPARE(page("dictate1")->findChild<DictateWord *>(QStringLiteral("word1"))->text(),
             right >= 1 ? QStringLiteral("kørte") : QStringLiteral("forkert"));
    if (passed)
        QCOMPARE(dictate2Page->findChild<DictateWord *>(QStringLiteral("word80"))->text(), QStringLiteral("attraktioner"));
    page("dictate2Help")->removeEventFilter(&help2Counter);
}

// When the ten minutes are over the arrow hands in without the question; the only box is
// the reminder.
void TestMainWindow::timeUpHandsInWithOnlyTheReminder()
{
    clickArrow("welcome");
    fillInfo();
    clickArrow("info");
    clickArrow("dictate1Help");
    checkScreen(TestStep::Dictation1, QStringLiteral("dictate1"));
    fillDictation1(20);

    for (int minute = 0; minute < 10; ++minute)
        countdown->advanceMinute();
    QCOMPARE(countdown->findChild<QLabel *>(QStringLiteral("minutesLabel"))->text(), QStringLiteral("Tiden er udløbet!"));
    QVERIFY(countdown->isVisible());
    QVERIFY(!page("dictate1")->findChild<DictateWord *>(QStringLiteral("word20"))->isEnabled());
    checkScreen(TestStep::Dictation1, QStringLiteral("dictate1")); // the page is not left by itself

    answerBoxes();
    clickArrow("dictate1");
    QTest::qWait(100); // boxes come up inside the click; this lets anything queued arrive too
    checkScreen(TestStep::Dictation2Help, QStringLiteral("dictate2Help"));
    QCOMPARE(boxes->size(), 0);
}

// Every page belongs to the window, so the end of the program takes them all with it; also
// the second dictation and its scroll area when they were built but never shown. The
// countdown's page pointers do not outlive the window.
void TestMainWindow::closingTheWindowDestroysEveryPage()
{
    QPointer<QWidget> pages[] = { window->welcomePage(), window->infoPage(), window->dictate1HelpPage(),
                                  window->firstDictation(), window->dictate2HelpPage(), window->secondDictation(),
                                  page("scrollArea"), window->resultsPage() };
    for (const auto &p : pages)
        QVERIFY(p);
    window.reset();
    for (const auto &p : pages)
        QVERIFY2(p.isNull(), p ? p->metaObject()->className() : "");
    QVERIFY(!dictate1Page && !dictate2Page);
}

// On every page each widget the learner can reach by Tab has a name a screen reader says;
// the word fields say which word they are and read their sentence without the word; the
// countdown's name follows its text. No page makes the window larger than the smallest screen
// (1024 x 768 at 150 %); a page that does not fit scrolls instead.
void TestMainWindow::everyPageSpeaksAndFitsSmallScreens()
{
    const auto checkPage = [this](const char *name) {
        for (QWidget *w : page(name)->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(window.get()) || !(w->focusPolicy() & Qt::TabFocus))
                continue;
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(spoken && !spoken->text(QAccessible::Name).isEmpty(),
                     qPrintable(QStringLiteral("%1: %2 %3 has no name").arg(QLatin1String(name),
                                QLatin1String(w->metaObject()->className()), w->objectName())));
        }
        QVERIFY2(window->minimumSizeHint().width() <= 683 && window->minimumSizeHint().height() <= 512,
                 qPrintable(QStringLiteral("%1: the window needs %2 x %3").arg(QLatin1String(name))
                            .arg(window->minimumSizeHint().width()).arg(window->minimumSizeHint().height())));
    };
    const auto checkWord = [this](const char *pageName, int number, const QString &name, const char *word) {
        auto *field = page(pageName)->findChild<DictateWord *>(RecoveryText::answerKey(number));
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(field);
        QCOMPARE(spoken->text(QAccessible::Name), name);
        const QString sentence = spoken->text(QAccessible::Description);
        QVERIFY2(sentence.contains(QStringLiteral("…")) && !sentence.contains(QString::fromUtf8(word)), qPrintable(sentence));
    };

    checkPage("welcome");
    clickArrow("welcome");
    checkPage("info");
    QCOMPARE(QAccessible::queryAccessibleInterface(page("info")->findChild<QLineEdit *>(QStringLiteral("nameEdit")))
                     ->text(QAccessible::Name), QStringLiteral("Navn:"));
    fillInfo();
    clickArrow("info");
    checkPage("dictate1Help");
    clickArrow("dictate1Help");
    checkPage("dictate1");
    checkWord("dictate1", 5, QStringLiteral("Ord 5 af 20"), "gamle");
    countdown->advanceMinute();
    QCOMPARE(QAccessible::queryAccessibleInterface(countdown->findChild<QLabel *>(QStringLiteral("minutesLabel")))
                     ->text(QAccessible::Name), QStringLiteral("Du har 9 minutter tilbage"));

    fillDictation1(18);
    answerBoxes();
    clickArrow("dictate1");
    reactivate();
    checkPage("dictate2Help");
    clickArrow("dictate2Help");
    checkPage("dictate2");
    checkWord("dictate2", 80, QStringLiteral("Ord 60 af 60"), "attraktioner");
    clickArrow("dictate2");
    QTest::qWait(100); // boxes come up inside the click; this lets anything queued arrive too
    checkPage("results");
}

void TestMainWindow::recoveryFileKeepsUpAndTells_data()
{
    QTest::addColumn<QString>("fault"); // made before the key
    QTest::addColumn<QString>("told");  // the box's title, or empty for none
    QTest::newRow("a key") << "" << "";
    QTest::newRow("the file cannot be written") << "folder" << "Svarene bliver ikke gemt";
    QTest::newRow("the file becomes a link") << "link" << "Den gemte test var erstattet";
}

// A key reaches the recovery file within half a second. When the file cannot be written,
// the teacher is told at once and saving goes on; a link in its place is replaced.
void TestMainWindow::recoveryFileKeepsUpAndTells()
{
    QFETCH(QString, fault);
    QFETCH(QString, told);
    workDir.session().learner() = LearnerRecord(); // a new learner: the earlier tests finished theirs
    new Autosave(window.get(), workDir.session());
    const QString path = RecoveryFile::path(workDir.session().folder());
    QFile::remove(path);
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("andet.json"));
    clickArrow("welcome");
    QTest::qWait(400); // the save after the move into the form
    if (fault == QLatin1String("folder")) {
        QFile::remove(path);
        QVERIFY(QDir().mkdir(path));
    } else if (fault == QLatin1String("link")) {
        QVERIFY(QFile(target).open(QIODevice::WriteOnly));
        QFile::remove(path);
        QVERIFY(QFile::link(target, path));
    }
    auto box = answerMessageBox(QStringLiteral("OK"), {}, 1500);
    auto *place = page("info")->findChild<QLineEdit *>(QStringLiteral("placeEdit"));
    QTest::keyClicks(place, QStringLiteral("Århus"));
    QTest::qWait(700); // past the half second, short of the regular save
    QCOMPARE(box->seen, !told.isEmpty());
    if (box->seen) {
        QCOMPARE(box->title, told);
        QVERIFY2(box->text.startsWith(QStringLiteral("Hent din lærer.")), qPrintable(box->text));
    }
    if (fault == QLatin1String("folder")) {
        // Tried again: once the folder is gone the file is there.
        QVERIFY(QDir().rmdir(path));
        QTest::keyClicks(place, QStringLiteral(" C"));
        QTest::qWait(700);
    }
    QVERIFY(!QFileInfo(path).isSymLink());
    const QByteArray saved = openedWithTestKey(path, RecoveryFile::plainName());
    const QJsonObject fields = QJsonDocument::fromJson(saved).object().value(QStringLiteral("fields")).toObject();
    QVERIFY(fields.value(QStringLiteral("placeEdit")).toString().startsWith(QStringLiteral("Århus")));
    if (fault == QLatin1String("link"))
        QCOMPARE(QFileInfo(target).size(), 0);
    QFile::remove(path);
}

SKRIVLO_TEST_MAIN(TestMainWindow)
// The hand-in never waits for the class folder: the results page comes at once, the line that
// the result waits shows once the send (on the share's thread) says so, and goes when a later
// send gets through. A named class folder that is missing is never made.
void TestMainWindow::resultsLineFollowsTheSends()
{
    const QString classFolder = workDir.filePath(QStringLiteral("klasse"));
    otherSession = std::make_unique<Session>(WorkingFolder(workDir.path()), MachineSettings(), classFolder,
                                             QStringLiteral("PC1-000001"));
    unlockForTest(*otherSession);
    window = std::make_unique<MainWindow>(*otherSession);
    countdown = window->findChild<TimeLimiter *>(QStringLiteral("countdown"));
    ClassSync sync(*otherSession);
    sync.serve(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    clickArrow("welcome");
    fillInfo();
    clickArrow("info");
    clickArrow("dictate1Help");
    fillDictation1(10);
    QSignalSpy sent(&sync, &ClassSync::delivered);
    answerBoxes();
    clickArrow("dictate1");
    QVERIFY(page("results")->isVisible());
    QTRY_VERIFY(!sent.isEmpty() && !sent.last().first().toBool());
    auto *notice = window->findChild<QLabel *>(QStringLiteral("waitingNotice"));
    QTRY_VERIFY(notice && notice->isVisible());
    QVERIFY(!QFileInfo::exists(classFolder));
    QVERIFY(QDir().mkpath(classFolder));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("sendAgainButton")), Qt::LeftButton);
    QTRY_VERIFY(!notice->isVisible());
    QVERIFY(otherSession->outbox().waiting().isEmpty());
    QCOMPARE(QDir(classFolder).entryList({ QStringLiteral("PC1-000001 *") }, QDir::Files).size(), 2);
}

#include "tst_mainwindow.moc"
