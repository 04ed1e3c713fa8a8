#pragma once

#include "archive/shareworker.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class MainWindow;
class QWidget;
class Session;

// Keeps the class folder up to date while the program runs: the copy of the saved test as it
// changes, a sign of life every little while, and whatever waits in the outbox. Everything
// that touches the class folder runs on the share's one thread (ShareWorker), so a share that
// hangs never holds up the window: not at start, not at a hand-in, not on "Send igen".
// While it lives, the session's work on the share (Session::onShare) goes there too.
class ClassSync : public QObject
{
    Q_OBJECT

public:
    // How long the start waits for the class folder's check before the test goes on.
    static constexpr int startWaitMs = 2000;

    explicit ClassSync(Session &session, QObject *parent = nullptr);
    ~ClassSync() override;

    // At start, after the password: checks that the class folder takes files, then sends what
    // an earlier run left in the outbox and removes this PC's copy of a saved test that no
    // longer exists. Waits at most waitMs, with the window alive (no longer when the share
    // already kept the password's step waiting); when the check fails, then or later, the
    // teacher is told plainly (which folder, why, and that the test can go on), once.
    // mayCreate: the folder is the default one in the working folder.
    void start(QWidget *parent, bool mayCreate, int waitMs = startWaitMs);
    // From now on: the saved test's copy, the sign of life and the outbox every few seconds.
    void keepUp();

    // Runs job on the share's thread and waits for it with the window alive, at most waitMs
    // (-1: as long as it takes). False when it did not end in time (its result is then
    // dropped) or too much already waits.
    bool runAndWait(const std::function<bool()> &job, int waitMs, bool *result);

    // The test's window shows what the sends tell and asks for "Send igen" here.
    void serve(MainWindow *window);

    // When the teacher asks ("Send igen"): sends now; delivered() tells how it went.
    void sendNow();
    // A send has been asked for and has not answered yet.
    bool sending() const { return sends > 0; }

signals:
    // After each send: all, nothing waits any more; else reason says why something does.
    void delivered(bool all, const QString &reason);
    // The test on this PC was continued at another PC (pc): none of it goes to the class
    // folder any more, so that the other PC's result is not replaced.
    void continuedElsewhere(const QString &pc);

private slots:
    void tick();

private:
    struct Sent
    {
        bool all = true;
        QString reason;
        QString continuedAt; // the PC this PC's test was continued at, when it just learned it
    };
    struct Checked
    {
        bool usable = true;
        QString reason;
        Sent sent;
    };

    // job, then the outbox, on the share's thread; after a check that this PC's test was not
    // continued elsewhere meanwhile.
    void share(std::function<void()> job);
    std::function<Sent()> sending(std::function<void()> job);
    void sentBack(const Sent &sent);
    void tellUnusable(QWidget *parent, const QString &reason, bool wait);

    Session &session;
    ShareWorker worker;
    QTimer timer;
    QByteArray lastCopy;
    QDateTime lastBeat;
    QDateTime nextTry;
    int sends = 0;
    bool told = false;
    QString continuedAt; // set once this PC's test was continued at another PC
};
