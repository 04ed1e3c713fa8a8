#pragma once

#include "archive/reportfile.h"
#include "content/teststep.h"

class QString;
class QWidget;
class Session;

// A stage of the report written from a page, and what the learner and the teacher are told
// when the disk refuses it.
namespace ReportStage {

// Writes the stage (ReportFile::writeStage). When that fails at the details page, tells the
// learner to fetch the teacher. At a hand-in (Append) the teacher may first try again as
// often as needed: the answers stay on screen and in memory meanwhile, and are saved at once
// as the saved test (taken from parent's window, at step after workedMs), in the working
// folder or in one the teacher picks. False when the report was not written: the test cannot
// go on, and the page says so to the window, which ends the program with status 1.
bool write(QWidget *parent, Session &session, ReportFile::Mode mode, const QString &text,
           TestStep step = TestStep::Details, qint64 workedMs = 0);

} // namespace ReportStage
