#include "recordingsurvey.h"

#include "manuscript.h"

RecordingSurvey::RecordingSurvey()
{
    for (const Manuscript::Recording &recording : Manuscript::recordings())
        names.append(recording.fileName);
}

void RecordingSurvey::start()
{
    if (!running.valid())
        running = std::async(std::launch::async, RecordingCheck::findProblems, names);
}

QVector<RecordingCheck::Finding> RecordingSurvey::findings()
{
    start();
    return running.get();
}
