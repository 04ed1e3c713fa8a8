#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <atomic>

class QWidget;
class Session;

// Keeps the class folder up to date while the program runs: the copy of the saved test as it
// changes, a sign of life every little while, and whatever still waits in the outbox. The
// sending runs on a worker thread, so a share that stalls (a network client retrying) never
// holds up the learner's typing.
class ClassSync : public QObject
{
    Q_OBJECT

public:
    explicit ClassSync(Session &session, QObject *parent = nullptr);
    ~ClassSync() override;

    // At start, after the password: checks that the class folder takes files and tells the
    // teacher plainly when it does not (which folder, why, and that the test can go on);
    // then sends what an earlier run left in the outbox and removes this PC's copy of a saved
    // test that no longer exists. mayCreate: the folder is the default one in the working folder.
    static void atStart(QWidget *parent, Session &session, bool mayCreate);

    // When the teacher asks: sends at once. False, with the reason, when something still waits.
    bool sendNow(QString *reason);

private slots:
    void tick();

private:
    void sendInBackground();

    Session &session;
    QTimer timer;
    QByteArray lastCopy;
    QDateTime lastBeat;
    QDateTime nextTry;
    std::atomic<bool> busy { false };
};
