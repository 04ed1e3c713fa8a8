#include "teacherview/learnerremover.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>

#include <thread>

// Where the thread leaves its answer: the remover while it lives. The lock keeps the remover
// from going while the answer is being posted to it.
struct LearnerRemover::Mailbox
{
    QMutex guard;
    LearnerRemover *to = nullptr;
};

LearnerRemover::LearnerRemover(const LearnerDeletion::Places &places, QObject *parent)
    : QObject(parent)
    , places(places)
    , mailbox(std::make_shared<Mailbox>())
{
    mailbox->to = this;
    slowTimer.setSingleShot(true);
    slowTimer.setInterval(slowAfterMs);
    connect(&slowTimer, &QTimer::timeout, this, &LearnerRemover::slow);
}

LearnerRemover::~LearnerRemover()
{
    QMutexLocker lock(&mailbox->guard);
    mailbox->to = nullptr;
}

bool LearnerRemover::start(const Keyring &keys, const QStringList &stems)
{
    if (busy)
        return false;
    busy = true;
    slowTimer.start();
    std::thread([box = mailbox, places = places, keys, stems]() {
        const LearnerDeletion::Done done = LearnerDeletion::run(places, keys, stems);
        QMutexLocker lock(&box->guard);
        if (!box->to)
            return;
        LearnerRemover *remover = box->to;
        QMetaObject::invokeMethod(remover, [remover, done]() {
            remover->busy = false;
            remover->slowTimer.stop();
            emit remover->finished(done);
        }, Qt::QueuedConnection);
    }).detach();
    return true;
}

QString LearnerRemover::told(const LearnerDeletion::Done &done, const QString &subject)
{
    if (!done.reached)
        return tr("%1 er ikke slettet.\n\n%2").arg(subject, done.problem);
    QStringList parts;
    parts.append(done.left.isEmpty() ? tr("%1 er slettet fra klassemappen og fra denne pc.").arg(subject)
                                     : tr("%1 er kun slettet delvis. Disse filer kunne ikke slettes:\n%2")
                                               .arg(subject, done.left.join(QLatin1Char('\n'))));
    if (!done.listProblem.isEmpty())
        parts.append(done.listProblem
                     + tr("\nEn pc, der stadig har en kopi, fordi den ikke har kunnet nå klassemappen, kan derfor "
                          "sende den igen. Prøv at slette igen senere."));
    else if (!done.otherPcs.isEmpty())
        parts.append(tr("Har en pc stadig en kopi, fordi den ikke har kunnet nå klassemappen, sletter den "
                        "kopien, næste gang den når klassemappen, også hvis den er slukket nu og først bliver "
                        "tændt senere. Testen blev taget på: %1.")
                             .arg(done.otherPcs.join(QStringLiteral(", "))));
    return parts.join(QStringLiteral("\n\n"));
}
