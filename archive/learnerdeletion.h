#pragma once

#include "sealing/keyring.h"

#include <QString>
#include <QStringList>

// Deletes learners from everywhere the teacher's PC can reach: their report and data file in
// the class folder and in this PC's outbox, the class folder's copies of their saved test
// (also one taken over by another PC), saved tests of theirs in this PC's working folder;
// then adds their ids to the class folder's list of deleted learners, so that a PC still
// holding a copy drops it when it next reaches the class folder. Runs on a worker: every call
// may wait on the share. Symbolic links are removed as links, never followed.
namespace LearnerDeletion {

struct Places
{
    QString classFolder;
    QString outbox;
    QString workingFolder; // this PC's: its saved tests
    QString record;        // the teacher's own copy of the deleted list
};

struct Done
{
    bool reached = true;    // false: the class folder could not be used, nothing was deleted
    QString problem;        // why, in Danish
    int learners = 0;       // learners whose files went
    int files = 0;          // files removed
    QStringList left;       // files that could not be removed, with why
    QStringList otherPcs;   // PCs that held the learners' tests, which may still have a copy
    QString listProblem;    // the deleted list could not be written
};

// stems: the learners' file names without ending, as listed. With none, only the class
// folder's list is made whole again from the teacher's own copy (a learner may have removed it).
Done run(const Places &places, const Keyring &keys, const QStringList &stems);

} // namespace LearnerDeletion
