#include "mainwindow.h"

#include "darkmargin.h"
#include "dictate1.h"
#include "dictate1help.h"
#include "dictate2.h"
#include "dictate2help.h"
#include "info.h"
#include "overview.h"
#include "results.h"
#include "welcome.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScrollArea>

#include <type_traits>

Dictate1 *dictate1Page = nullptr;
Dictate2 *dictate2Page = nullptr;

namespace {

constexpr int pageStretch = 4;
constexpr int pagePosition = 1;

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
    rightMargin = new DarkMargin(this);

    pageLayout = new QHBoxLayout;
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(overview, 1);
    pageLayout->addWidget(welcomePage(), pageStretch, Qt::AlignHCenter);
    pageLayout->addWidget(rightMargin, 1);
    setLayout(pageLayout);
    welcome->setVisible(true);

    connect(qApp, &QApplication::focusChanged, this, &MainWindow::keepFocusVisible);
}

MainWindow::~MainWindow()
{
    // The countdown must not reach pages that go with this window.
    if (dictate1Page == dictate1)
        dictate1Page = nullptr;
    if (dictate2Page == dictate2)
        dictate2Page = nullptr;
}

template<typename Page>
Page *MainWindow::built(Page *&page, const char *name)
{
    if (!page) {
        page = new Page(this);
        page->setObjectName(QString::fromLatin1(name));
        page->setVisible(false);
        if constexpr (!std::is_same_v<Page, Results>)
            connect(page, &Page::nextPage, this, &MainWindow::nextPage);
    }
    return page;
}

Welcome *MainWindow::welcomePage()
{
    return built(welcome, "welcome");
}

Info *MainWindow::infoPage()
{
    return built(info, "info");
}

Dictate1Help *MainWindow::dictate1HelpPage()
{
    return built(dictate1Help, "dictate1Help");
}

Dictate1 *MainWindow::firstDictation()
{
    if (!dictate1)
        dictate1Page = built(dictate1, "dictate1");
    return dictate1;
}

Dictate2Help *MainWindow::dictate2HelpPage()
{
    return built(dictate2Help, "dictate2Help");
}

Dictate2 *MainWindow::secondDictation()
{
    if (dictate2)
        return dictate2;
    dictate2Page = built(dictate2, "dictate2");
    // Owned by the window, so it goes with the window whatever page is on screen.
    scrollArea = new QScrollArea(this);
    scrollArea->setVisible(false);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidget(dictate2);
    scrollArea->setMinimumSize(850, 0);
    scrollArea->setFrameStyle(0);
    scrollArea->setAlignment(Qt::AlignHCenter);
    return dictate2;
}

Results *MainWindow::resultsPage()
{
    return built(results, "results");
}

void MainWindow::keepFocusVisible(QWidget *, QWidget *now)
{
    // Enter moves the focus by code, which a scroll area does not follow by itself: without
    // this the learner would type into a word below the visible part of the story.
    if (now && dictate2 && dictate2->isAncestorOf(now))
        scrollArea->ensureWidgetVisible(now);
}

void MainWindow::nextPage()
{
    overview->nextStep();
    switch (pageIndex) {
    case 0:
        replacePage(welcome, infoPage(), Qt::AlignHCenter);
        break;
    case 1:
        replacePage(info, dictate1HelpPage(), Qt::AlignHCenter);
        break;
    case 2:
        replacePage(dictate1Help, firstDictation(), Qt::AlignHCenter);
        break;
    case 3:
        if (dictate1->passed()) {
            replacePage(dictate1, dictate2HelpPage(), Qt::AlignHCenter);
        } else {
            // Straight to the results: the panel skips the second dictation's steps.
            overview->nextStep();
            overview->nextStep();
            showResults(dictate1);
        }
        break;
    case 4:
        secondDictation();
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

void MainWindow::showResults(QWidget *from)
{
    resultsPage()->loadReport();
    replacePage(from, results, Qt::Alignment()); // the report fills the whole page area
    QMessageBox::information(this, tr("Vigtigt!"),
                             tr("Du skal huske at udskrive resultaterne.\nFå evt. din lærer til at hjælpe."),
                             QMessageBox::Ok, QMessageBox::NoButton);
}
