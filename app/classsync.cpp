#include "app/classsync.h"

#include "archive/classrecovery.h"
#include "archive/foldercheck.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QThread>
#include <QThreadPool>

namespace {

constexpr int tickMs = 3000;
// Well inside ClassRecovery::staleAfterSeconds.
constexpr int beatSeconds = 30;
// After a failed send: a share that is gone is not asked again at every tick.
constexpr int retrySeconds = 30;

QByteArray localCopy(const Session &session)
{
    return RecoveryFile::opened(session.folder(), session.keys());
}

} // namespace

ClassSync::ClassSync(Session &session, QObject *parent)
    : QObject(parent)
    , session(session)
{
    timer.setInterval(tickMs);
    connect(&timer, &QTimer::timeout, this, &ClassSync::tick);
    timer.start();
}

ClassSync::~ClassSync()
{
    timer.stop();
    while (busy)
        QThread::msleep(10);
}

void ClassSync::atStart(QWidget *parent, Session &session, bool mayCreate)
{
    QString reason;
    if (!FolderCheck::classFolderUsable(session.classFolder(), mayCreate, session.pcName(), &reason)) {
        const int waiting = session.outbox().waiting().size();
        QMessageBox::warning(
                parent, tr("Klassemappen kan ikke bruges"),
                tr("Klassemappen\n»%1«\nkan ikke bruges lige nu.\n\n%2\n\n"
                   "Testen kan godt gå i gang. Resultaterne gemmes sikkert på denne pc i udbakken\n»%3«\n"
                   "og sendes til klassemappen, så snart den kan nås igen: når en kursist afleverer, "
                   "næste gang Skrivlo starter, eller når du trykker »Send igen« på resultatsiden.%4")
                        .arg(QDir::toNativeSeparators(session.classFolder()), reason,
                             QDir::toNativeSeparators(session.outbox().path()),
                             waiting ? tr("\n\n%1 fil(er) fra tidligere venter allerede i udbakken.").arg(waiting)
                                     : QString()),
                QMessageBox::Ok);
        return;
    }
    // What a write of this PC's, cut off by a crash or the network, left there.
    FolderCheck::removeClassLeftovers(session.classFolder(), session.pcName());
    if (!RecoveryFile::exists(session.folder()))
        ClassRecovery::withdraw(session);
    session.outbox().send();
}

bool ClassSync::sendNow(QString *reason)
{
    while (busy)
        QThread::msleep(10);
    nextTry = QDateTime();
    return session.outbox().send(reason);
}

void ClassSync::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray copy = localCopy(session);
    if (!copy.isEmpty() && copy != lastCopy) {
        ClassRecovery::put(session, copy);
        lastCopy = copy;
    }
    const bool beating = !copy.isEmpty() && (!lastBeat.isValid() || lastBeat.secsTo(now) >= beatSeconds);
    const bool waiting = !session.outbox().waiting().isEmpty() && (!nextTry.isValid() || now >= nextTry);
    if (busy || (!beating && !waiting))
        return;
    if (beating)
        lastBeat = now;
    busy = true;
    Outbox *box = &session.outbox();
    const QString classFolder = session.classFolder();
    const QString pc = session.pcName();
    QThreadPool::globalInstance()->start([this, box, classFolder, pc, beating, now]() {
        if (beating)
            ClassRecovery::beat(classFolder, pc, now);
        const bool sent = box->send();
        QMetaObject::invokeMethod(this, [this, sent]() {
            nextTry = sent ? QDateTime() : QDateTime::currentDateTime().addSecs(retrySeconds);
        }, Qt::QueuedConnection);
        busy = false;
    });
}
