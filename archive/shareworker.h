#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>

// The one thread that talks to a share. A share that hangs (a server stopped, a network
// client retrying for a minute) holds up this thread only: calls queue behind the one that
// waits, never a new thread each, and the queue is bounded. Results come back on the thread
// that owns this object, and not at all once it is gone: a window can close while a call
// still waits, and that call's result is dropped.
class ShareWorker : public QObject
{
public:
    static constexpr int queueLimit = 8;

    explicit ShareWorker(QObject *parent = nullptr);
    // Never waits for a call still on the share: its thread is left to finish on its own.
    ~ShareWorker() override;

    // Runs job on the share's thread, then done(result) here. False, with nothing run, when
    // queueLimit calls already wait.
    template<typename Result>
    bool run(std::function<Result()> job, std::function<void(const Result &)> done = {})
    {
        if (waiting >= queueLimit)
            return false;
        ++waiting;
        auto *watcher = new QFutureWatcher<Result>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done]() {
            --waiting;
            watcher->deleteLater();
            if (done)
                done(watcher->result());
        });
        watcher->setFuture(QtConcurrent::run(pool, std::move(job)));
        return true;
    }

    // Calls not yet answered, the one on the share included.
    int pending() const { return waiting; }

private:
    QThreadPool *pool;
    int waiting = 0;
};
