#pragma once

class MainWindow;
class QWidget;
class Session;
struct RecoveryState;

// The offer to continue a test that a crash or a power cut interrupted.
namespace RecoveryOffer {

// Looks for an unfinished test and asks the teacher what to do with it. True when the
// teacher chose to continue; state then holds the test. Starting again keeps the
// unfinished report in resultater/, marked as such, also in the overview.
bool ask(QWidget *parent, Session &session, RecoveryState *state);

// Puts a recovered test back on screen: the learner's record, every field and the page
// with the time that was left.
void resume(MainWindow *window, Session &session, const RecoveryState &state);

} // namespace RecoveryOffer
