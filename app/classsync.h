#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
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

    // Whether the class folder takes files now, and why not. On a share that is a round trip
    // or more, so the start makes it on a thread while the password is typed. mayCreate: the
    // folder is the default one in the working folder.
    struct FolderState
    {
        bool usable = false;
        QString reason;
    };
    static FolderState check(const QString &classFolder, bool mayCreate, const QString &pc);

    // At start, after the password: tells the teacher plainly when the class folder does not
    // take files (which folder, why, and that the test can go on); otherwise sends what an
    // earlier run left in the outbox and removes this PC's copy of a saved test that no
    // longer exists.
    static void atStart(QWidget *parent, Session &session, const FolderState &state);
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
