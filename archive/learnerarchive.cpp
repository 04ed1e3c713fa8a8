#include "learnerarchive.h"

#include "autosave.h"
#include "info.h"
#include "learnerfilename.h"
#include "mainwindow.h"
#include "overviewfile.h"
#include "overviewtext.h"
#include "recoveryfile.h"
#include "recoverytext.h"
#include "reportfile.h"
#include "reporttext.h"
#include "resultsfolder.h"
#include "safefile.h"
#include "storytable.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LearnerArchive", text);
}

// The details as typed, also when the form was never left.
QStringList typedDetails(const RecoveryState &state)
{
    if (!state.learner.details.isEmpty())
        return state.learner.details;
    QStringList details;
    for (const QString &name : Info::fieldObjectNames())
        details.append(state.fields.value(name));
    return details;
}

QString minutesLeftText(const RecoveryState &state)
{
    const int minutes = state.page == 3 ? dictation1Table().minutes
            : state.page == 5 ? dictation2Table().minutes : 0;
    if (minutes == 0)
        return QString();
    const qint64 left = qMax<qint64>(0, minutes * 60 - state.workedMs / 1000);
    return tr("\nTid tilbage af Diktat %1: %2 min. %3 sek.")
            .arg(state.page == 3 ? 1 : 2).arg(left / 60).arg(left % 60);
}

bool askToContinue(QWidget *parent, const RecoveryState &state)
{
    const QString name = typedDetails(state).value(2);
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("Ufærdig test"));
    box.setText(tr("En test blev ikke afsluttet.\n\nNavn: %1\nStartet: %2%3\n\n"
                   "Vil du fortsætte testen, hvor kursisten slap?")
                        .arg(name.isEmpty() ? tr("(intet navn)") : name,
                             state.learner.started.toString(QStringLiteral("d/M-yyyy 'kl.' HH.mm")),
                             minutesLeftText(state)));
    QPushButton *resume = box.addButton(tr("Fortsæt"), QMessageBox::AcceptRole);
    box.addButton(tr("Start forfra"), QMessageBox::DestructiveRole);
    box.setDefaultButton(resume);
    box.exec();
    return box.clickedButton() == resume;
}

// Keeps a recovery file that cannot be used now where the next learner's cannot replace it.
void setAsideAndTell(QWidget *parent, const QString &title, const QString &what, const QString &reason)
{
    const QString aside = RecoveryFile::setAside();
    QMessageBox::warning(parent, title,
                         what.arg(reason) + tr("\n\nFilen er lagt til side som\n\"%1\"\ni resultatmappen.").arg(aside),
                         QMessageBox::Ok);
}

} // namespace

namespace LearnerArchive {

bool offerRecovery(QWidget *parent, RecoveryState *state)
{
    if (!RecoveryFile::exists())
        return false;
    QString reason;
    if (!RecoveryFile::read(state, &reason)) {
        setAsideAndTell(parent, tr("Gemt test kan ikke bruges"),
                        tr("Der ligger en gemt test, som ikke kan fortsættes.\n%1"), reason);
        return false;
    }
    if (askToContinue(parent, *state))
        return true;
    if (!keepUnfinished(*state, &reason)) {
        setAsideAndTell(parent, tr("Ufærdig test ikke gemt"),
                        tr("Den ufærdige test kunne ikke gemmes i \"resultater\".\n%1"), reason);
        return false;
    }
    RecoveryFile::remove();
    return false;
}

void resume(MainWindow *window, const RecoveryState &state)
{
    currentLearner() = state.learner;
    window->resumeAt(state.page, state.workedMs);
    Autosave::restoreFields(window, state.fields);
}

void finish(QWidget *parent)
{
    LearnerRecord &learner = currentLearner();
    learner.finished = true;
    QString reason;
    if (!OverviewFile::append(OverviewText::row(learner), &reason)) {
        QMessageBox::warning(parent, tr("Oversigten er ikke opdateret"),
                             tr("%1\n\nRapporten er gemt i \"results.html\" og i\n\"%2\".")
                                     .arg(reason, QDir::toNativeSeparators(ReportFile::learnerFilePath())),
                             QMessageBox::Ok);
    }
    RecoveryFile::remove();
}

bool keepUnfinished(const RecoveryState &state, QString *reason)
{
    LearnerRecord learner = state.learner;
    learner.finished = false;
    learner.details = typedDetails(state);
    const QString folder = ResultsFolder::filePath(LearnerFileName::folderName());
    if (!QDir().mkpath(folder)) {
        *reason = tr("Mappen \"resultater\" kan ikke oprettes.");
        return false;
    }
    if (learner.reportName.isEmpty())
        learner.reportName = LearnerFileName::unused(folder, LearnerFileName::stem(learner.started, learner.details.value(2)));
    const QString document = learner.document.isEmpty() ? ReportText::header(learner.details) : learner.document;
    if (!SafeFile::write(QDir(folder).filePath(learner.reportName), ReportText::unfinished(document).toUtf8())) {
        *reason = tr("Rapporten kan ikke skrives.");
        return false;
    }
    return OverviewFile::append(OverviewText::row(learner), reason);
}

} // namespace LearnerArchive
