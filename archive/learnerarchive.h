#pragma once

#include <QString>
#include <QStringList>

class Session;
struct RecoveryState;

// What keeps every learner's result: the overview row when a test ends, and the report and
// row of a test that will not be continued. Failures come back as a Danish reason.
namespace LearnerArchive {

// The results page is reached: marks the test finished, adds the overview row and removes
// the recovery file. False, with the reason, when the overview could not be written.
bool finish(Session &session, QString *reason);

// Keeps a test that will not be continued: its report in resultater/ and its overview
// row, both marked as not finished. False, with the reason, on failure.
bool keepUnfinished(const Session &session, const RecoveryState &state, QString *reason);

// The details as typed, also when the form was never left.
QStringList typedDetails(const RecoveryState &state);

} // namespace LearnerArchive
