#include "app/classsync.h"

#include "archive/classrecovery.h"
#include "archive/deletedlearners.h"
#include "archive/foldercheck.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
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

// How many learners' results wait in the outbox: each learner has a report and a data file
// there (sealed or not), and the class's saved tests lie in a folder of their own.
int learnersWaiting(const QStringList &names)
{
    QSet<QString> learners;
    for (QString name : names) {
        if (name.contains(QLatin1Char('/')))
            continue;
        for (const char *suffix : { ".skrivlo", ".json", ".html" }) {
            if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
                name.chop(int(qstrlen(suffix)));
        }
        learners.insert(name);
    }
    return int(learners.size());
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
        const int waiting = learnersWaiting(session.outbox().waiting());
        QString text = tr("Skrivlo kan ikke gemme i klassemappen »%1« lige nu. %2\n\n"
                          "Testen kan godt gå i gang. Resultaterne venter sikkert på denne pc og bliver sendt "
                          "af sig selv, når klassemappen kan nås igen.\n\n"
                          "Tjek netværket. Bliver det ved, så spørg IT.")
                               .arg(QDir::toNativeSeparators(session.classFolder()), reason);
        if (waiting == 1)
            text += tr("\n\nResultatet for 1 kursist venter allerede.");
        else if (waiting > 1)
            text += tr("\n\nResultaterne for %1 kursister venter allerede.").arg(waiting);
        QMessageBox box(QMessageBox::Warning, tr("Klassemappen kan ikke bruges"), text, QMessageBox::NoButton, parent);
        box.setDefaultButton(box.addButton(tr("&Fortsæt"), QMessageBox::AcceptRole));
        box.exec();
        return;
    }
    // What a write of this PC's, cut off by a crash or the network, left there.
    FolderCheck::removeClassLeftovers(session.classFolder(), session.pcName());
    // A learner deleted while this PC was off: their saved tests here go before one is offered,
    // their files in the outbox before they are sent.
    DeletedLearners::forgetHere(session, DeletedLearners::read(session.classFolder(), session.keys()));
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
