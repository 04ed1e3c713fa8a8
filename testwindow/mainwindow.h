#pragma once

#include "content/teststep.h"
#include "settings/passwordthrottle.h"

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
class Session;
class Welcome;

// The full-screen window of the test: the progress panel, one page at a time, and a dark
// margin. Pages ask to move on with their nextPage() signal; the sequence is fixed, with
// one branch after the first dictation.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // The window and its pages share the session: its record, its folder.
    explicit MainWindow(Session &session);
    ~MainWindow() override;

    // The step on screen, as the progress panel marks it.
    TestStep currentStep() const;
    // The time worked on the dictation on screen; 0 on any other page.
    qint64 workedMs() const;

    // Each page is built the first time it is needed, so the window comes up with only what
    // the first page shows; once built, a page lives as long as the window.
    Welcome *welcomePage();
    Info *infoPage();
    Dictate1Help *dictate1HelpPage();
    Dictate1 *firstDictation();
    Dictate2Help *dictate2HelpPage();
    Dictate2 *secondDictation();
    Results *resultsPage();

    // Lays the window out and draws it once off screen, without showing it: called while the
    // password is typed, so that the texts are laid out and their letters drawn before Return.
    void drawAhead();
    // The outbox is sent on the share's thread by whoever keeps the class folder up to date:
    // the results page then shows what delivered() tells and asks again through sendAgain().
    // Without it, the results page sends at once itself.
    void setSentInBackground() { sentInBackground = true; }

    // A test continued after a crash: moves on to the page the learner was on, and a
    // dictation's clock and countdown go on from the time already worked.
    void resumeAt(TestStep step, qint64 workedMs);

public slots:
    // After each send in the background: all, nothing waits any more; else why something does.
    void delivered(bool all, const QString &reason);
    // This PC's test was continued at another PC: nothing more goes from here.
    void continuedElsewhere(const QString &pc);

signals:
    // The teacher pressed "Send igen".
    void sendAgain();

protected:
    // Before the results page only the teacher, with the password, ends the test.
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void nextPage();
    void lockDictation();
    void keepFocusVisible(QWidget *old, QWidget *now);
    void revealFocus();

private:
    void replacePage(QWidget *from, QWidget *to, Qt::Alignment alignment);
    void showResults(QWidget *from);
    void fitRightMargin();
    template<typename Page, typename... Arguments>
    Page *built(Page *&page, const char *name, Arguments &...arguments);

    Session &session;
    bool sentInBackground = false;
    bool resultsShown = false;
    // Wrong tries at ending the test, counted over every time the teacher is asked.
    PasswordThrottle endTestTries;
    // Holds whichever page is current, so a page taller or wider than the screen (small
    // screens, scaling, large system text) scrolls instead of pushing the window off it.
    QScrollArea *scrollArea;
    QWidget *pageHolder;
    QHBoxLayout *holderLayout;
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
