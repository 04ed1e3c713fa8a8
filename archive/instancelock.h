#pragma once

#include <QLockFile>
#include <QString>

// One copy of the program per results folder. The lock is held until the program ends; a
// lock left by a copy that crashed or lost its power is taken over.
class InstanceLock
{
public:
    enum Outcome {
        Locked,
        HeldByOther,  // another running copy uses the folder
        NotPossible   // the folder takes no lock file (read-only); the first write will tell
    };

    InstanceLock();

    Outcome acquire();
    // For an end without destructors: the next copy then finds the folder free at once.
    void release() { lockFile.unlock(); }

    // The Danish message for a second copy.
    static QString heldMessage(const QString &folder);

private:
    QLockFile lockFile;
};

// The program's own lock; lives until exit, however the program ends.
InstanceLock &instanceLock();
