#include "recordings/recordingsurvey.h"

#include "recordings/manuscript.h"

namespace {

RecordingSurvey::Result survey()
{
    QStringList names;
    for (const Manuscript::Recording &recording : Manuscript::recordings())
        names.append(recording.fileName);
    return { RecordingCheck::findProblems(names), int(names.size()) };
}

} // namespace

void RecordingSurvey::start()
{
    if (!running.valid())
        running = std::async(std::launch::async, survey);
}

RecordingSurvey::Result RecordingSurvey::result()
{
    start();
    return running.get();
}
