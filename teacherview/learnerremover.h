#pragma once

#include "archive/learnerdeletion.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

// Deletes learners on a thread of its own, so that a share that hangs never holds up the
// window: it says after half a second that it is still working, takes one delete at a time,
// and when the window goes first, the thread finishes on its own and its answer is dropped
// (each file goes or stays whole, and the list of deleted learners is written before any file
// goes, so a cut-off delete is finished by the PCs that read the list).
class LearnerRemover : public QObject
{
    Q_OBJECT

public:
    explicit LearnerRemover(const LearnerDeletion::Places &places, QObject *parent = nullptr);
    ~LearnerRemover() override;

    static constexpr int slowAfterMs = 500;

    bool isBusy() const { return busy; }
    // False while a delete still runs.
    bool start(const Keyring &keys, const QStringList &stems);

    // What the teacher is told when a delete has ended, in Danish; subject names what was
    // deleted ("Resultatet for »Åse«").
    static QString told(const LearnerDeletion::Done &done, const QString &subject);

signals:
    // Still working after slowAfterMs.
    void slow();
    void finished(const LearnerDeletion::Done &done);

private:
    struct Mailbox;

    const LearnerDeletion::Places places;
    std::shared_ptr<Mailbox> mailbox;
    QTimer slowTimer;
    bool busy = false;
};
