#pragma once

class MainWindow;
class QString;
class QWidget;
struct RecoveryState;

// The steps that keep every learner's result: the offer to continue after a crash, and
// the overview row when a test ends.
namespace LearnerArchive {

// Looks for an unfinished test and asks the teacher what to do with it. True when the
// teacher chose to continue; state then holds the test. Starting again keeps the
// unfinished report in resultater/, marked as such, also in the overview.
bool offerRecovery(QWidget *parent, RecoveryState *state);

// Puts a recovered test back on screen: the learner's record, every field and the page
// with the time that was left.
void resume(MainWindow *window, const RecoveryState &state);

// The results page is reached: adds the overview row and removes the recovery file.
void finish(QWidget *parent);

// Keeps a test that will not be continued: its report in resultater/ and its overview
// row, both marked as not finished. False, with a Danish reason, on failure.
bool keepUnfinished(const RecoveryState &state, QString *reason);

} // namespace LearnerArchive
