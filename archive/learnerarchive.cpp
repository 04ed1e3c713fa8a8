#include "archive/learnerarchive.h"

#include "archive/overviewfile.h"
#include "archive/recoveryfile.h"
#include "archive/safefile.h"
#include "archive/session.h"
#include "content/pagetexts.h"
#include "content/storytable.h"
#include "model/handin.h"
#include "model/learnerfilename.h"
#include "model/overviewtext.h"
#include "model/recoverytext.h"
#include "model/reporttext.h"

#include <QCoreApplication>
#include <QDir>

namespace LearnerArchive {

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
        answers.append(state.fields.value(QStringLiteral("word%1").arg(table.firstField + i)));
    const QString stamp = ReportText::timeStamp(state.workedMs / 1000);
    if (dictation == 1)
        return document + HandIn::dictation1(answers, stamp, &learner->dictation1Right);
    return document + HandIn::dictation2(answers, stamp, &learner->dictation2Right);
}

bool finish(Session &session, QString *reason)
{
    LearnerRecord &learner = session.learner();
    learner.finished = true;
    const bool written = OverviewFile::append(session.folder(), OverviewText::row(learner), reason);
    RecoveryFile::remove(session.folder());
    return written;
}

bool keepUnfinished(const Session &session, const RecoveryState &state, QString *reason)
{
    LearnerRecord learner = state.learner;
    learner.finished = false;
    learner.details = typedDetails(state);
    const QString folder = session.folder().filePath(LearnerFileName::folderName());
    if (!SafeFile::mayWriteInto(folder) || !QDir().mkpath(folder)) {
        *reason = QCoreApplication::translate("LearnerArchive", "Klassemappen kan ikke oprettes.");
        return false;
    }
    if (learner.reportName.isEmpty())
        learner.reportName = LearnerFileName::unused(folder, LearnerFileName::stem(learner.started, learner.details.value(2)));
    const QString document = judgedSoFar(state, &learner);
    if (!SafeFile::write(QDir(folder).filePath(learner.reportName), ReportText::unfinished(document).toUtf8())) {
        *reason = QCoreApplication::translate("LearnerArchive", "Resultatet kan ikke gemmes i klassemappen.");
        return false;
    }
    return OverviewFile::append(session.folder(), OverviewText::row(learner), reason);
}

} // namespace LearnerArchive
