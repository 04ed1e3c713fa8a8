#include "teacherview/learnerremover.h"

#include "archive/shareworker.h"

LearnerRemover::LearnerRemover(const LearnerDeletion::Places &places, ShareWorker &share, QObject *parent)
    : QObject(parent)
    , places(places)
    , share(share)
{
    slowTimer.setSingleShot(true);
    slowTimer.setInterval(slowAfterMs);
    connect(&slowTimer, &QTimer::timeout, this, &LearnerRemover::slow);
}

bool LearnerRemover::start(const Keyring &keys, const QStringList &stems)
{
    if (busy)
        return false;
    const bool queued = share.run<LearnerDeletion::Done>(
            [places = places, keys, stems]() { return LearnerDeletion::run(places, keys, stems); },
            [this](const LearnerDeletion::Done &done) {
                busy = false;
                slowTimer.stop();
                emit finished(done);
            });
    busy = queued;
    if (queued)
        slowTimer.start();
    return queued;
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
