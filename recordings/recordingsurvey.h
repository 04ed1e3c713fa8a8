#pragma once

#include "recordings/recordingcheck.h"

#include <QVector>

#include <future>

// The check of every recording the dictations play, which reads them all and so takes
// longer than the main window takes to appear. Started while the teacher types the
// password, it runs on a thread of its own and is done by the time it is needed.
class RecordingSurvey
{
public:
    struct Result
    {
        QVector<RecordingCheck::Finding> findings;
        int total = 0; // recordings checked
    };

    // Begins the check on its own thread; a second call does nothing.
    void start();
    // What the check found; waits for it, or checks here and now if nobody started it.
    // Called once.
    Result result();

private:
    std::future<Result> running;
};
