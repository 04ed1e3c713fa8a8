#pragma once

#include "archive/instancelock.h"
#include "archive/resultsfolder.h"
#include "model/learnerrecord.h"
#include "settings/machinesettings.h"

#include <functional>

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

    // Saves the answers on screen at once, as the recovery file in the given folder: the
    // results folder, or one the teacher picks when that takes nothing. Set by whoever
    // keeps the recovery file; false when nothing could be saved.
    void setAnswerSaver(std::function<bool(const ResultsFolder &)> saver) { answerSaver = std::move(saver); }
    bool saveAnswers(const ResultsFolder &where) const { return answerSaver && answerSaver(where); }

private:
    const ResultsFolder resultsFolder;
    InstanceLock instanceLock;
    const MachineSettings machineSettings;
    LearnerRecord record;
    std::function<bool(const ResultsFolder &)> answerSaver;
};
