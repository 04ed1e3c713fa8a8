#include "testwindow/mainwindow.h"

#include "archive/learnerarchive.h"
#include "archive/reportfile.h"
#include "archive/session.h"
#include "dictation/dictate1.h"
#include "dictation/dictate2.h"
#include "gate/splashdialog.h"
#include "model/reporttext.h"
#include "pages/dictate1help.h"
#include "pages/dictate2help.h"
#include "pages/info.h"
#include "pages/results.h"
#include "pages/welcome.h"
#include "testwindow/overview.h"
#include "testwindow/pagearea.h"
#include "testwindow/timelimiter.h"
#include "widgets/darkmargin.h"
#include "widgets/plainmessage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QMessageBox>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <type_traits>

Dictate1 *dictate1Page = nullptr;
Dictate2 *dictate2Page = nullptr;

namespace {

constexpr int pageStretch = 4;
constexpr int focusMargin = 10; // room kept around a focused widget scrolled into view
// A result sent at once on a working share never shows the line that it waits.
constexpr int waitingLineAfterMs = 1000;

} // namespace

MainWindow::MainWindow(Session &session)
    : QWidget(nullptr)
    , session(session)
{
    setWindowTitle(tr("Diktat til trinindplacering"));
    backgroundBrush = QBrush(QColor(21, 21, 85), Qt::SolidPattern);
    windowPalette.setBrush(QPalette::All, QPalette::Window, backgroundBrush);
    setPalette(windowPalette);

    overview = new Overview(this);
    overview->setObjectName(QStringLiteral("overview"));
    // Scroll bars only where a page does not fit; otherwise the page keeps the place and
    // size it has without the area. The area itself takes no Tab stop: the learner would
    // land on something invisible.
    scrollArea = new PageArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setFrameStyle(0);
    scrollArea->setFocusPolicy(Qt::NoFocus);
    scrollArea->setWidgetResizable(true);
    pageHolder = new QWidget;
    pageHolder->setObjectName(QStringLiteral("pageHolder"));
    holderLayout = new QHBoxLayout(pageHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    scrollArea->setWidget(pageHolder);
    // The window's own background, in the same colour, already lies under the page area:
    // painting it again over most of the screen in the area and in its holder cost a few
    // milliseconds before the window appeared.
    scrollArea->viewport()->setAutoFillBackground(false);
    pageHolder->setAutoFillBackground(false);

    holderLayout->addWidget(welcomePage(), 0, Qt::AlignHCenter);

    rightMargin = new DarkMargin(this);

    pageLayout = new QHBoxLayout;
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(overview, 1);
    pageLayout->addWidget(scrollArea, pageStretch);
    pageLayout->addWidget(rightMargin, 1);
    setLayout(pageLayout);
    welcome->setVisible(true);

    connect(overview->countdown(), &TimeLimiter::timeOut, this, &MainWindow::lockDictation);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::keepFocusVisible);
}

MainWindow::~MainWindow()
{
    // The base class destroys the children after this destructor has finished; a focus
    // change among them must not reach a window that is no longer a MainWindow.
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::keepFocusVisible);
    // The countdown must not reach pages that go with this window.
    if (dictate1Page == dictate1)
        dictate1Page = nullptr;
    if (dictate2Page == dictate2)
        dictate2Page = nullptr;
}

// Built in the holder, never moved there later: moving a page would take away the focus it
// has given one of its fields.
template<typename Page, typename... Arguments>
Page *MainWindow::built(Page *&page, const char *name, Arguments &...arguments)
{
    if (!page) {
        page = new Page(pageHolder, arguments...);
        page->setObjectName(QString::fromLatin1(name));
        page->setVisible(false);
        if constexpr (!std::is_same_v<Page, Results>)
            connect(page, &Page::nextPage, this, &MainWindow::nextPage);
        // A report that cannot be written ends the test, with status 1 as every failure does.
        if constexpr (std::is_same_v<Page, Info> || std::is_base_of_v<DictationPage, Page>)
            connect(page, &Page::reportFailed, this, []() { QCoreApplication::exit(1); });
    }
    return page;
}

qint64 MainWindow::workedMs() const
{
    const TestStep step = currentStep();
    if (step == TestStep::Dictation1 && dictate1)
        return dictate1->workedMs();
    if (step == TestStep::Dictation2 && dictate2)
        return dictate2->workedMs();
    return 0;
}

Welcome *MainWindow::welcomePage()
{
    return built(welcome, "welcome");
}

Info *MainWindow::infoPage()
{
    return built(info, "info", session);
}

Dictate1Help *MainWindow::dictate1HelpPage()
{
    return built(dictate1Help, "dictate1Help");
}

Dictate1 *MainWindow::firstDictation()
{
    return dictate1Page = built(dictate1, "dictate1", session);
}

Dictate2Help *MainWindow::dictate2HelpPage()
{
    return built(dictate2Help, "dictate2Help");
}

Dictate2 *MainWindow::secondDictation()
{
    return dictate2Page = built(dictate2, "dictate2", session);
}

Results *MainWindow::resultsPage()
{
    return built(results, "results", session.folder());
}

void MainWindow::drawAhead()
{
    // Drawing a hidden window gives it the size it would first be shown at and leaves it
    // hidden and unsized (no page hears a show event); what stays is what the first real
    // paint would otherwise do after Return: each label's text laid out and shaped, and its
    // letters in the font caches. Opaque, like the window's backing store, so the same
    // glyphs are cached; a window is never sized beyond its screen.
    const qreal ratio = devicePixelRatioF();
    QImage scratch(screen()->size() * ratio, QImage::Format_RGB32);
    scratch.setDevicePixelRatio(ratio);
    render(&scratch);
}

void MainWindow::keepFocusVisible(QWidget *, QWidget *now)
{
    // Enter and Tab move the focus by code, which a scroll area does not follow by itself:
    // without this the learner would type into a field outside the visible part of the page.
    // The whole widget, not only its text cursor as ensureWidgetVisible() would: a field's
    // end and its focus ring must be seen as well.
    if (now && pageHolder->isAncestorOf(now)) {
        const QRect r(now->mapTo(pageHolder, QPoint(0, 0)), now->size());
        scrollArea->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + focusMargin,
                                  r.height() / 2 + focusMargin);
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    fitRightMargin();
    QWidget::resizeEvent(event);
}

void MainWindow::fitRightMargin()
{
    // A page wider than its share of the screen (small screens, scaling) gets the right
    // margin's room before it has to scroll sideways; where it fits, the margin stays.
    const int share = width() * pageStretch / (pageStretch + 2);
    rightMargin->setVisible(scrollArea->sizeHint().width() <= share);
}

void MainWindow::revealFocus()
{
    // Lay out the new page first, so the area knows where the field now is.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    keepFocusVisible(nullptr, QApplication::focusWidget());
}

TestStep MainWindow::currentStep() const
{
    return overview->currentStep();
}

void MainWindow::nextPage()
{
    const TestStep from = overview->currentStep();
    overview->nextStep();
    switch (from) {
    case TestStep::Welcome:
        replacePage(welcome, infoPage(), Qt::AlignHCenter);
        break;
    case TestStep::Details:
        replacePage(info, dictate1HelpPage(), Qt::AlignHCenter);
        break;
    case TestStep::Dictation1Help:
        replacePage(dictate1Help, firstDictation(), Qt::AlignHCenter);
        break;
    case TestStep::Dictation1:
        if (dictate1->passed()) {
            replacePage(dictate1, dictate2HelpPage(), Qt::AlignHCenter);
        } else {
            // Straight to the results: the panel skips the second dictation's steps.
            overview->nextStep();
            overview->nextStep();
            showResults(dictate1);
        }
        break;
    case TestStep::Dictation2Help:
        replacePage(dictate2Help, secondDictation(), Qt::AlignHCenter);
        break;
    case TestStep::Dictation2:
        showResults(dictate2);
        break;
    case TestStep::Results:
        break;
    }
}

// The countdown has run out: the dictation on screen takes no more answers.
void MainWindow::lockDictation()
{
    DictationPage *page = overview->countdown()->runningDictation() == 1 ? static_cast<DictationPage *>(dictate1Page)
                                                                          : dictate2Page;
    if (page)
        page->timeUp();
}

void MainWindow::replacePage(QWidget *from, QWidget *to, Qt::Alignment alignment)
{
    from->setVisible(false);
    holderLayout->removeWidget(from);
    holderLayout->addWidget(to, 0, alignment);
    scrollArea->horizontalScrollBar()->setValue(0);
    scrollArea->verticalScrollBar()->setValue(0);
    to->setVisible(true);
    fitRightMargin(); // the new page may want another width; a hidden one counts for nothing
    // The page gives its field the focus while it is shown, before the area has laid it
    // out; bring that field into view once it has.
    QTimer::singleShot(0, this, &MainWindow::revealFocus);
}

void MainWindow::resumeAt(TestStep step, qint64 workedMs)
{
    firstDictation()->setPassed(session.learner().dictation1Right >= ReportText::dictation1PassMark);
    while (int(currentStep()) < int(step))
        nextPage();
    if (step == TestStep::Dictation1)
        dictate1->resumeWorked(workedMs);
    else if (step == TestStep::Dictation2)
        dictate2->resumeWorked(workedMs);
    overview->resumeCountdown(workedMs);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (resultsShown) {
        event->accept();
        return;
    }
    // Answers and countdown go on untouched while the teacher is asked.
    SplashDialog check(this, session.settings(), SplashDialog::EndTest, &endTestTries);
    if (check.exec() == QDialog::Accepted) {
        event->accept();
        return;
    }
    event->ignore();
    // A busy window manager may leave the keyboard with nobody once the dialog is gone; the
    // learner must be able to type on at once, without a click.
    activateWindow();
}

void MainWindow::continuedElsewhere(const QString &pc)
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Testen er fortsat på en anden pc"),
                                tr("Hent din lærer.\n\nTil læreren: Denne test er fortsat på pc'en %1. Skrivlo "
                                   "sender derfor intet mere fra testen her til klassemappen, så resultatet fra den "
                                   "anden pc ikke bliver erstattet. Svarene her er gemt på denne pc.")
                                        .arg(pc),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open(); // the learner's screen goes on behind it
}

void MainWindow::delivered(bool all, const QString &reason)
{
    if (!resultsShown || !results)
        return;
    if (!all)
        results->showWaiting(session.classFolder(), [this]() { emit sendAgain(); });
    results->delivered(all, reason);
}

void MainWindow::showResults(QWidget *from)
{
    resultsShown = true;
    QString reason;
    if (!LearnerArchive::finish(session, &reason)) {
        PlainMessage::warning(this, tr("Resultatet er ikke sendt"),
                              tr("Hent din lærer.\n\n"
                                 "Til læreren: %1\n\n"
                                 "Resultatet er gemt i »results.html« i arbejdsmappen. Gem det som PDF-fil, "
                                 "eller udskriv det, før Skrivlo lukkes.")
                                      .arg(reason),
                              QMessageBox::Ok);
    }
    resultsPage()->setLearnerName(info->learnerName());
    results->setClassFolder(session.classFolder());
    results->loadReport();
    // Sent on the share's thread: the line comes only when the result has not arrived within
    // a moment, and goes when it does.
    const QString classFolder = session.classFolder();
    if (sentInBackground) {
        QTimer::singleShot(waitingLineAfterMs, results, [this, classFolder]() {
            if (LearnerArchive::waiting(session))
                results->showWaiting(classFolder, [this]() { emit sendAgain(); });
        });
    } else if (LearnerArchive::waiting(session)) {
        results->showWaiting(classFolder, [this]() {
            QString why;
            const bool all = session.outbox().send(&why);
            results->delivered(all, why);
        });
    }
    replacePage(from, results, Qt::Alignment()); // the report fills the whole page area
    PlainMessage::information(this, tr("Vigtigt!"),
                              tr("Du skal huske at udskrive resultaterne.\nFå evt. din lærer til at hjælpe."),
                              QMessageBox::Ok, QMessageBox::NoButton);
}
