#pragma once

#include <QBrush>
#include <QPalette>
#include <QWidget>

class Dictate1;
class Dictate1Help;
class Dictate2;
class Dictate2Help;
class DarkMargin;
class Info;
class Overview;
class QHBoxLayout;
class QScrollArea;
class Results;
class Welcome;

// The full-screen window of the test: the progress panel, one page at a time, and a dark
// margin. Pages ask to move on with their nextPage() signal; the sequence is fixed, with
// one branch after the first dictation.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow();

    ~MainWindow() override;

    int currentIndex() const { return pageIndex; }

    // Each page is built the first time it is needed, so the window comes up with only what
    // the first page shows; once built, a page lives as long as the window.
    Welcome *welcomePage();
    Info *infoPage();
    Dictate1Help *dictate1HelpPage();
    Dictate1 *firstDictation();
    Dictate2Help *dictate2HelpPage();
    Dictate2 *secondDictation(); // with the scroll area that holds it
    Results *resultsPage();

private slots:
    void nextPage();
    void keepFocusVisible(QWidget *old, QWidget *now);

private:
    void replacePage(QWidget *from, QWidget *to, Qt::Alignment alignment);
    void showResults(QWidget *from);
    template<typename Page>
    Page *built(Page *&page, const char *name);

    int pageIndex = 0;
    QScrollArea *scrollArea = nullptr;
    QPalette windowPalette;
    QBrush backgroundBrush;
    QHBoxLayout *pageLayout;
    Overview *overview;
    Welcome *welcome = nullptr;
    Info *info = nullptr;
    Dictate1Help *dictate1Help = nullptr;
    Dictate1 *dictate1 = nullptr;
    Dictate2Help *dictate2Help = nullptr;
    Dictate2 *dictate2 = nullptr;
    Results *results = nullptr;
    DarkMargin *rightMargin;
};

// The dictation pages, for the countdown that locks them; null until the window builds them.
extern Dictate1 *dictate1Page;
extern Dictate2 *dictate2Page;
