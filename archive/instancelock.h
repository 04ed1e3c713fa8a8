#pragma once

#include <QLockFile>
#include <QString>

class WorkingFolder;

// One copy of the program per working folder. The lock is held until the program ends; a
// lock left by a copy that crashed or lost its power is taken over.
class InstanceLock
{
public:
    enum Outcome {
        Locked,
        HeldByOther,  // another running copy uses the folder
        NotPossible,  // the folder takes no lock file (read-only); the check at start tells
        NotALockFile  // a link, a folder or another kind of file lies in the lock's place
    };

    explicit InstanceLock(const WorkingFolder &folder);

    Outcome acquire();

    // The Danish message for a second copy.
    static QString heldMessage(const QString &folder);
    // The Danish message for something else in the lock's place, saying what it is.
    QString notALockFileMessage() const;
    // Why the program may not use the folder after outcome (one of the two messages above);
    // empty when nothing keeps it out.
    QString refusal(Outcome outcome) const;

private:
    QString path;
    QLockFile lockFile;
};
