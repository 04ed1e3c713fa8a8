#include "mainwindow.h"

#include "darkmargin.h"
#include "dictate1.h"
#include "dictate1help.h"
#include "dictate2.h"
#include "dictate2help.h"
#include "info.h"
#include "learnerarchive.h"
#include "learnerrecord.h"
#include "overview.h"
#include "reporttext.h"
#include "results.h"
#include "splashdialog.h"
#include "welcome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScrollArea>

Dictate1 *dictate1Page = nullptr;
Dictate2 *dictate2Page = nullptr;

namespace {

constexpr int pageStretch = 4;
constexpr int pagePosition = 1;

template<typename Page>
Page *createHidden(QWidget *parent, const char *name)
{
    auto *page = new Page(parent);
    page->setObjectName(QString::fromLatin1(name));
    page->setVisible(false);
    return page;
}

} // namespace

MainWindow::MainWindow()
    : QWidget(nullptr)
{
    setWindowTitle(tr("Diktat til trinindplacering"));
    backgroundBrush = QBrush(QColor(21, 21, 85), Qt::SolidPattern);
    windowPalette.setBrush(QPalette::All, QPalette::Window, backgroundBrush);
    setPalette(windowPalette);

    overview = new Overview(this);
    overview->setObjectName(QStringLiteral("overview"));
    welcome = new Welcome(this);
    welcome->setObjectName(QStringLiteral("welcome"));
    info = createHidden<Info>(this, "info");
    dictate1Help = createHidden<Dictate1Help>(this, "dictate1Help");
    dictate1Page = createHidden<Dictate1>(this, "dictate1");
    dictate2Help = createHidden<Dictate2Help>(this, "dictate2Help");
    dictate2Page = createHidden<Dictate2>(this, "dictate2");
    results = createHidden<Results>(this, "results");

    // Owned by the window from the start, so it goes with the window even when the second
    // dictation is never reached.
    scrollArea = new QScrollArea(this);
    scrollArea->setVisible(false);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidget(dictate2Page);
    scrollArea->setMinimumSize(850, 0);
    scrollArea->setFrameStyle(0);
    scrollArea->setAlignment(Qt::AlignHCenter);

    rightMargin = new DarkMargin(this);

    pageLayout = new QHBoxLayout;
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(overview, 1);
    pageLayout->addWidget(welcome, pageStretch, Qt::AlignHCenter);
    pageLayout->addWidget(rightMargin, 1);
    setLayout(pageLayout);

    connect(welcome, &Welcome::nextPage, this, &MainWindow::nextPage);
    connect(info, &Info::nextPage, this, &MainWindow::nextPage);
    connect(dictate1Help, &Dictate1Help::nextPage, this, &MainWindow::nextPage);
    connect(dictate1Page, &Dictate1::nextPage, this, &MainWindow::nextPage);
    connect(dictate2Help, &Dictate2Help::nextPage, this, &MainWindow::nextPage);
    connect(dictate2Page, &Dictate2::nextPage, this, &MainWindow::nextPage);
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::keepFocusVisible);
}

void MainWindow::keepFocusVisible(QWidget *, QWidget *now)
{
    // Enter moves the focus by code, which a scroll area does not follow by itself: without
    // this the learner would type into a word below the visible part of the story.
    if (now && dictate2Page->isAncestorOf(now))
        scrollArea->ensureWidgetVisible(now);
}

void MainWindow::nextPage()
{
    overview->nextStep();
    switch (pageIndex) {
    case 0:
        replacePage(welcome, info, Qt::AlignHCenter);
        break;
    case 1:
        replacePage(info, dictate1Help, Qt::AlignHCenter);
        break;
    case 2:
        replacePage(dictate1Help, dictate1Page, Qt::AlignHCenter);
        break;
    case 3:
        if (dictate1Page->passed()) {
            replacePage(dictate1Page, dictate2Help, Qt::AlignHCenter);
        } else {
            // Straight to the results: the panel skips the second dictation's steps.
            overview->nextStep();
            overview->nextStep();
            showResults(dictate1Page);
        }
        break;
    case 4:
        replacePage(dictate2Help, scrollArea, Qt::AlignHCenter);
        break;
    case 5:
        showResults(scrollArea);
        break;
    default:
        break;
    }
    ++pageIndex;
}

void MainWindow::replacePage(QWidget *from, QWidget *to, Qt::Alignment alignment)
{
    from->setVisible(false);
    pageLayout->removeWidget(from);
    pageLayout->insertWidget(pagePosition, to, pageStretch, alignment);
    to->setVisible(true);
}

void MainWindow::resumeAt(int page, qint64 workedMs)
{
    dictate1Page->setPassed(currentLearner().dictation1Right >= ReportText::dictation1PassMark);
    while (pageIndex < page)
        nextPage();
    if (page == 3)
        dictate1Page->resumeWorked(workedMs);
    else if (page == 5)
        dictate2Page->resumeWorked(workedMs);
    overview->resumeCountdown(workedMs);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (resultsShown) {
        event->accept();
        return;
    }
    // Answers and countdown go on untouched while the teacher is asked.
    SplashDialog check(this, SplashDialog::EndTest);
    if (check.exec() == QDialog::Accepted)
        event->accept();
    else
        event->ignore();
}

void MainWindow::showResults(QWidget *from)
{
    resultsShown = true;
    LearnerArchive::finish(this);
    results->loadReport();
    replacePage(from, results, Qt::Alignment()); // the report fills the whole page area
    QMessageBox::information(this, tr("Vigtigt!"),
                             tr("Du skal huske at udskrive resultaterne.\nFå evt. din lærer til at hjælpe."),
                             QMessageBox::Ok, QMessageBox::NoButton);
}
