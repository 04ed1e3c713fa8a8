#include "app/recoveryoffer.h"

#include "app/autosave.h"
#include "app/mainwindow.h"
#include "archive/learnerarchive.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "content/storytable.h"
#include "model/recoverytext.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LearnerArchive", text);
}

QString minutesLeftText(const RecoveryState &state)
{
    const int dictation = dictationAt(state.step);
    if (dictation == 0)
        return QString();
    const int minutes = (dictation == 1 ? dictation1Table() : dictation2Table()).minutes;
    const qint64 left = qMax<qint64>(0, minutes * 60 - state.workedMs / 1000);
    return tr("\nTid tilbage i Diktat %1: %2 min. %3 sek.").arg(dictation).arg(left / 60).arg(left % 60);
}

bool askToContinue(QWidget *parent, const RecoveryState &state)
{
    const QString name = LearnerArchive::typedDetails(state).value(2);
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("Ufærdig test"));
    box.setText(tr("En test blev ikke afsluttet.\n\nNavn: %1\nStartet: %2%3\n\n"
                   "Vil du fortsætte testen, hvor kursisten slap?\n"
                   "»Start forfra« gemmer den ufærdige test i klassemappen med alle svar, der er skrevet.")
                        .arg(name.isEmpty() ? tr("uden navn") : name,
                             state.learner.started.toString(QStringLiteral("d/M-yyyy 'kl.' HH.mm")),
                             minutesLeftText(state)));
    QPushButton *resume = box.addButton(tr("Fortsæt testen"), QMessageBox::AcceptRole);
    box.addButton(tr("Start forfra"), QMessageBox::DestructiveRole);
    box.setDefaultButton(resume);
    box.exec();
    return box.clickedButton() == resume;
}

// Keeps a recovery file that cannot be used now where the next learner's cannot replace it.
void setAsideAndTell(QWidget *parent, const ResultsFolder &folder, const QString &title, const QString &what,
                     const QString &reason)
{
    const QString aside = RecoveryFile::setAside(folder);
    QMessageBox::warning(parent, title,
                         what.arg(reason) + tr("\n\nFilen er lagt til side som\n»%1«\ni arbejdsmappen. Testen starter forfra.").arg(aside),
                         QMessageBox::Ok);
}

} // namespace

namespace RecoveryOffer {

bool ask(QWidget *parent, Session &session, RecoveryState *state)
{
    const ResultsFolder &folder = session.folder();
    if (!RecoveryFile::exists(folder))
        return false;
    QString reason;
    if (!RecoveryFile::read(folder, state, &reason)) {
        setAsideAndTell(parent, folder, tr("Gemt test kan ikke bruges"),
                        tr("Der ligger en gemt test, som ikke kan fortsættes.\n%1"), reason);
        return false;
    }
    if (askToContinue(parent, *state))
        return true;
    if (!LearnerArchive::keepUnfinished(session, *state, &reason)) {
        setAsideAndTell(parent, folder, tr("Ufærdig test ikke gemt"),
                        tr("Den ufærdige test kunne ikke gemmes i klassemappen.\n%1"), reason);
        return false;
    }
    RecoveryFile::remove(folder);
    return false;
}

void resume(MainWindow *window, Session &session, const RecoveryState &state)
{
    session.learner() = state.learner;
    window->resumeAt(state.step, state.workedMs);
    Autosave::restoreFields(window, state.fields);
}

} // namespace RecoveryOffer
