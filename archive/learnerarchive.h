#pragma once

#include <QString>
#include <QStringList>

class Session;
struct RecoveryState;

// What keeps every learner's result: the data file (the overview row) when a test ends, and
// the report and data file of a test that will not be continued, each sent to the class
// folder through the outbox. Failures come back as a Danish reason.
namespace LearnerArchive {

// The results page is reached: marks the test finished, sends the data file and removes the
// recovery file. False, with the reason, when the data file could not be put in the outbox.
// A class folder out of reach is no failure: see waiting().
bool finish(Session &session, QString *reason);

// Keeps a test that will not be continued: its report and data file in the class folder,
// both marked as not finished. False, with the reason, on failure.
bool keepUnfinished(Session &session, const RecoveryState &state, QString *reason);

// Something still waits in the outbox for the class folder.
bool waiting(Session &session);

// The details as typed, also when the form was never left.
QStringList typedDetails(const RecoveryState &state);

} // namespace LearnerArchive
