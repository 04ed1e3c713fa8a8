#pragma once

#include "archive/learnerdeletion.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

class ShareWorker;

// Deletes learners on the share's thread, so that a share that hangs never holds up the
// window: it says after half a second that it is still working and takes one delete at a
// time. When the window goes first, the delete finishes on its own and its answer is dropped
// (each file goes or stays whole, and the list of deleted learners is written before any file
// goes, so a cut-off delete is finished by the PCs that read the list).
class LearnerRemover : public QObject
{
    Q_OBJECT

public:
    LearnerRemover(const LearnerDeletion::Places &places, ShareWorker &share, QObject *parent = nullptr);

    static constexpr int slowAfterMs = 500;

    bool isBusy() const { return busy; }
    // False while a delete still runs, or when the share's queue is full.
    bool start(const Keyring &keys, const QStringList &stems);

    // What the teacher is told when a delete has ended, in Danish; subject names what was
    // deleted ("Resultatet for »Åse«").
    static QString told(const LearnerDeletion::Done &done, const QString &subject);

signals:
    // Still working after slowAfterMs.
    void slow();
    void finished(const LearnerDeletion::Done &done);

private:
    const LearnerDeletion::Places places;
    ShareWorker &share;
    QTimer slowTimer;
    bool busy = false;
};
