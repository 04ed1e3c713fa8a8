#pragma once

#include "archive/reportfile.h"

class QString;
class QWidget;
class Session;

// A stage of the report written from a page, and what the learner and the teacher are told
// when the disk refuses it.
namespace ReportStage {

// Writes the stage (ReportFile::writeStage). When that fails at the details page, tells the
// learner to fetch the teacher. At a hand-in (Append) the teacher may first try again as
// often as needed: the answers stay on screen and in memory meanwhile. False when the report
// was not written: the test cannot go on, and the page ends the program with status 1.
bool write(QWidget *parent, Session &session, ReportFile::Mode mode, const QString &text);

} // namespace ReportStage
