#include "archive/learnerarchive.h"

#include "archive/classrecovery.h"
#include "archive/recoveryfile.h"
#include "archive/reportfile.h"
#include "archive/session.h"
#include "content/pagetexts.h"
#include "content/storytable.h"
#include "model/handin.h"
#include "model/learnerdatatext.h"
#include "model/learnerfilename.h"
#include "model/recoverytext.h"
#include "model/reporttext.h"
#include "model/resultrow.h"

#include <QCoreApplication>
#include <QDir>

namespace LearnerArchive {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LearnerArchive", text);
}

// The data file goes to the outbox next to the report, and both are sent (Session::onShare). A class folder out
// of reach is no failure: the files wait in the outbox, and the results page says so.
bool send(Session &session, const LearnerRecord &learner, QString *reason)
{
    const QByteArray data = LearnerDataText::serialise(ResultRow::fromRecord(learner, session.pcName()));
    if (!session.outbox().put(LearnerFileName::dataName(learner.reportName), data)) {
        *reason = tr("Resultatet kan ikke gemmes i udbakken i arbejdsmappen.");
        return false;
    }
    Outbox *box = &session.outbox();
    session.onShare([box]() { box->send(); });
    return true;
}

} // namespace

QStringList typedDetails(const RecoveryState &state)
{
    if (!state.learner.details.isEmpty())
        return state.learner.details;
    QStringList details;
    for (const QString &name : PageTexts::infoFieldObjectNames())
        details.append(state.fields.value(name));
    return details;
}

// The report as a hand-in would have made it now: a dictation in progress is judged from
// the answers typed so far, so starting again loses none of them.
static QString judgedSoFar(const RecoveryState &state, LearnerRecord *learner)
{
    QString document = learner->document.isEmpty() ? ReportText::header(learner->details) : learner->document;
    const int dictation = dictationAt(state.step);
    if (dictation == 0 || document.contains(QStringLiteral("<h3>Diktat %1 [").arg(dictation)))
        return document;
    const DictationTable &table = dictation == 1 ? dictation1Table() : dictation2Table();
    QStringList answers;
    for (int i = 0; i < table.gaps().size(); ++i)
        answers.append(state.fields.value(RecoveryText::answerKey(table.firstField + i)));
    const QString stamp = ReportText::timeStamp(state.workedMs / 1000);
    if (dictation == 1)
        return document + HandIn::dictation1(answers, stamp, &learner->dictation1Right);
    return document + HandIn::dictation2(answers, stamp, &learner->dictation2Right);
}

bool finish(Session &session, QString *reason)
{
    LearnerRecord &learner = session.learner();
    learner.finished = true;
    RecoveryFile::remove(session.folder());
    ClassRecovery::withdraw(session);
    return send(session, learner, reason);
}

bool keepUnfinished(Session &session, const RecoveryState &state, QString *reason)
{
    LearnerRecord learner = state.learner;
    learner.finished = false;
    learner.details = typedDetails(state);
    if (learner.reportName.isEmpty())
        learner.reportName = ReportFile::newReportName(session);
    const QString document = judgedSoFar(state, &learner);
    if (!session.outbox().put(learner.reportName, ReportText::unfinished(document).toUtf8())) {
        *reason = tr("Resultatet kan ikke gemmes i udbakken i arbejdsmappen.");
        return false;
    }
    return send(session, learner, reason);
}

bool waiting(Session &session)
{
    return !session.outbox().waiting().isEmpty();
}

} // namespace LearnerArchive
