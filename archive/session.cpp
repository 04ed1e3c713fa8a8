#include "archive/session.h"

Session::Session(const ResultsFolder &folder)
    : resultsFolder(folder)
    , instanceLock(folder)
{
}
