#pragma once

#include "archive/instancelock.h"
#include "archive/outbox.h"
#include "archive/workingfolder.h"
#include "model/learnerrecord.h"
#include "sealing/classkey.h"
#include "sealing/keyring.h"
#include "settings/machinesettings.h"

#include <functional>

// What one run of the program shares: the PC's own working folder (results.html, the saved
// test, the lock that keeps a second copy out of it, the outbox), the class folder that
// every learner's report and data file goes to, the name this copy goes by there, and the
// learner now taking the test; and the machine's settings (the school's password). Made by main once the application exists, and handed to the
// main window and on to the pages that need it.
class Session
{
public:
    // Without a class folder it is "resultater" in the working folder; without a PC name the
    // one kept in the working folder.
    explicit Session(const WorkingFolder &folder, const MachineSettings &settings = MachineSettings(),
                     const QString &classFolder = QString(), const QString &pc = QString());
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    const WorkingFolder &folder() const { return working; }
    // Both absolute.
    QString workingFolder() const { return working.path(); }
    QString classFolder() const { return classPath; }
    // As the command line or the machine's settings named it; empty for the default one.
    QString classFolderAsked() const { return classAsked; }
    // Read, or made and kept in the working folder, when first asked for: after the password
    // and the folder check, so a start that ends before writes nothing. Asked for first on the
    // main thread, before the outbox is sent from another.
    QString pcName() const;
    Outbox &outbox() { return box; }
    InstanceLock &lock() { return instanceLock; }
    const MachineSettings &settings() const { return machineSettings; }
    // The class key this PC seals with, once the teacher's password unlocked it (null before),
    // and every key this run can open files with. firstUse runs before the key first seals
    // anything, to keep it where the next start and the teacher's view find it.
    void unlock(std::shared_ptr<const ClassKey> own, const Keyring &known, std::function<void()> firstUse = {});
    // The key, for sealing with now.
    std::shared_ptr<const ClassKey> sealingKey() { return box.keyInUse(); }
    const Keyring &keys() const { return keyring; }

    LearnerRecord &learner() { return record; }
    const LearnerRecord &learner() const { return record; }

    // Work on the class folder (sending the outbox, removing this PC's copy of a saved test):
    // handed to whoever keeps the class folder up to date, which does it off the window's
    // thread; without one it is done at once (tools and tests with no window).
    void setShareRunner(std::function<void(std::function<void()>)> runner) { shareRunner = std::move(runner); }
    void onShare(std::function<void()> job)
    {
        if (shareRunner)
            shareRunner(std::move(job));
        else
            job();
    }

private:
    const WorkingFolder working;
    const QString classPath;
    const QString classAsked;
    mutable QString pc;
    Outbox box;
    InstanceLock instanceLock;
    const MachineSettings machineSettings;
    LearnerRecord record;
    std::shared_ptr<const ClassKey> key;
    Keyring keyring;
    std::function<void(std::function<void()>)> shareRunner;
};
