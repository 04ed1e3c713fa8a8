#include "archive/session.h"

Session::Session(const ResultsFolder &folder, const MachineSettings &settings)
    : resultsFolder(folder)
    , instanceLock(folder)
    , machineSettings(settings)
{
}
