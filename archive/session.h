#pragma once

#include "archive/instancelock.h"
#include "archive/resultsfolder.h"
#include "model/learnerrecord.h"
#include "settings/machinesettings.h"

// What one run of the program shares: the folder every file goes to, the lock that keeps a
// second copy out of it, the machine's settings (the school's password) and the learner now
// taking the test. Made by main once the
// application exists, and handed to the main window and on to the pages that need it.
class Session
{
public:
    explicit Session(const ResultsFolder &folder, const MachineSettings &settings = MachineSettings());
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    const ResultsFolder &folder() const { return resultsFolder; }
    InstanceLock &lock() { return instanceLock; }
    const MachineSettings &settings() const { return machineSettings; }
    LearnerRecord &learner() { return record; }
    const LearnerRecord &learner() const { return record; }

private:
    const ResultsFolder resultsFolder;
    InstanceLock instanceLock;
    const MachineSettings machineSettings;
    LearnerRecord record;
};
