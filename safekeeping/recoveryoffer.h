#pragma once

class ClassSync;
class MainWindow;
class QWidget;
class Session;
struct RecoveryState;

// The offer to continue a test that a crash or a power cut interrupted.
namespace RecoveryOffer {

enum class Choice {
    StartAfresh,
    Continue, // state holds the test
    Stop, // a saved test could not be put aside: a new one would write over it
};

// Looks for an unfinished test and asks the teacher what to do with it. Starting again
// keeps the unfinished report in resultater/, marked as such, also in the overview. sync:
// where the class folder is asked (on the share's thread, the window alive, the answer
// waited for a moment only: a share that hangs is taken as saying nothing new); without it,
// here.
Choice ask(QWidget *parent, Session &session, RecoveryState *state, ClassSync *sync = nullptr);

// When no test of this PC's own waits: offers, if the teacher asks for it, a test from the
// class folder that another PC no longer runs (not saved for a while). True when the teacher
// chose one; state then holds it, and the other PC's copy is marked as taken over.
// The taking over itself is waited for as long as the share takes, the window alive: a test
// moved but not continued here would be lost.
bool askForClassTest(QWidget *parent, Session &session, RecoveryState *state, ClassSync *sync = nullptr);

// Puts a recovered test back on screen: the learner's record, every field and the page
// with the time that was left.
void resume(MainWindow *window, Session &session, const RecoveryState &state);

} // namespace RecoveryOffer
