#include "safekeeping/recoveryoffer.h"

#include "archive/classrecovery.h"
#include "archive/learnerarchive.h"
#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "content/storytable.h"
#include "model/datetext.h"
#include "model/recoverytext.h"
#include "safekeeping/autosave.h"
#include "safekeeping/classsync.h"
#include "testwindow/mainwindow.h"
#include "widgets/plainmessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

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

// A name as a learner typed it, kept apart from the text around it: a right-to-left mark in it
// cannot turn a PC's name or a time after it around.
QString nameOf(const RecoveryState &state)
{
    const QString name = LearnerArchive::typedDetails(state).value(2);
    return name.isEmpty() ? tr("uden navn")
                          : QChar(0x2068) + name + QChar(0x2069);
}

bool askToContinue(QWidget *parent, const RecoveryState &state)
{
    const QString name = nameOf(state);
    QMessageBox box(parent);
    box.setTextFormat(Qt::PlainText); // the name is what a learner typed
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("Ufærdig test"));
    box.setText(tr("En test blev ikke afsluttet.\n\nNavn: %1\nStartet: %2%3\n\n"
                   "Vil du fortsætte testen, hvor kursisten slap?\n"
                   "»Start forfra« gemmer den ufærdige test i klassemappen med alle svar, der er skrevet.")
                        .arg(name,
                             DateText::moment(state.learner.started),
                             minutesLeftText(state)));
    QPushButton *resume = box.addButton(tr("Fortsæt testen"), QMessageBox::AcceptRole);
    box.addButton(tr("Start forfra"), QMessageBox::DestructiveRole);
    box.setDefaultButton(resume);
    box.exec();
    return box.clickedButton() == resume;
}

// Keeps a recovery file that cannot be used now where the next learner's cannot replace it,
// and tells the teacher. Stop when it could not: no test may start. news: nothing went wrong
// (the test goes on elsewhere), so the box says so and asks nothing of the teacher.
RecoveryOffer::Choice setAsideAndTell(QWidget *parent, const WorkingFolder &folder, RecoveryFile::Aside why,
                                      const QString &title, const QString &what, const QString &reason,
                                      bool news = false)
{
    const QString happened = what.arg(reason);
    QString aside;
    if (!RecoveryFile::setAside(folder, why, &aside)) {
        PlainMessage::critical(parent, title,
                               happened
                                       + tr("\n\nFilen kunne ikke lægges til side, og en ny test ville skrive oven i den. "
                                            "Derfor lukker Skrivlo nu.\n\nFlyt filen\n»%1«\nud af arbejdsmappen, "
                                            "og start så Skrivlo igen.")
                                                 .arg(QDir::toNativeSeparators(RecoveryFile::path(folder))),
                               QMessageBox::Ok);
        return RecoveryOffer::Choice::Stop;
    }
    if (news) {
        PlainMessage::information(parent, title, happened + tr("\n\nDu skal ikke gøre noget. Denne pc er klar til en ny test."),
                                  QMessageBox::Ok);
        return RecoveryOffer::Choice::StartAfresh;
    }
    PlainMessage::warning(parent, title,
                          happened + tr("\n\nFilen er lagt til side som »%1« i arbejdsmappen. Der starter en ny test.").arg(aside),
                          QMessageBox::Ok);
    return RecoveryOffer::Choice::StartAfresh;
}

// Work on the class folder: on the share's thread when there is one, waited for at most waitMs
// (-1: as long as it takes); else here. False when it did not answer in time.
bool onShare(ClassSync *sync, int waitMs, const std::function<bool()> &job, bool *result)
{
    if (!sync) {
        *result = job();
        return true;
    }
    return sync->runAndWait(job, waitMs, result);
}

} // namespace

namespace RecoveryOffer {

Choice ask(QWidget *parent, Session &session, RecoveryState *state, ClassSync *sync)
{
    const WorkingFolder &folder = session.folder();
    if (!RecoveryFile::exists(folder))
        return Choice::StartAfresh;
    QString reason;
    if (!RecoveryFile::read(folder, session.keys(), state, &reason)) {
        return setAsideAndTell(parent, folder, RecoveryFile::Aside::Unreadable, tr("Gemt test kan ikke bruges"),
                               tr("Der ligger en gemt test, som ikke kan fortsættes.\n%1"), reason);
    }
    // Not known in time: the teacher is offered to continue here, and the class folder's
    // keeping-up learns it before it writes anything of the test there (ClassSync).
    auto otherPc = std::make_shared<QString>();
    bool moved = false;
    if (onShare(sync, ClassSync::startWaitMs,
                [run = &session, own = *state, otherPc]() { return ClassRecovery::continuedElsewhere(*run, own, otherPc.get()); },
                &moved)
        && moved) {
        // Its copy in the class folder, or one still waiting in the outbox that the start
        // has just sent, would otherwise be offered to a third PC.
        ClassRecovery::withdraw(session);
        return setAsideAndTell(parent, folder, RecoveryFile::Aside::ContinuedElsewhere,
                               tr("Testen er fortsat på en anden pc"),
                               tr("Den test, der blev afbrudt på denne pc, er fortsat på pc'en %1. Kursisten "
                                  "afslutter den der."),
                               *otherPc, true);
    }
    if (askToContinue(parent, *state))
        return Choice::Continue;
    if (!LearnerArchive::keepUnfinished(session, *state, &reason)) {
        return setAsideAndTell(parent, folder, RecoveryFile::Aside::NotKept, tr("Ufærdig test ikke gemt"),
                               tr("Den ufærdige test kunne ikke gemmes i klassemappen.\n%1"), reason);
    }
    RecoveryFile::remove(folder);
    return Choice::StartAfresh;
}

void resume(MainWindow *window, Session &session, const RecoveryState &state)
{
    session.learner() = state.learner;
    window->resumeAt(state.step, state.workedMs);
    Autosave::restoreFields(window, state.fields);
}

bool askForClassTest(QWidget *parent, Session &session, RecoveryState *state, ClassSync *sync)
{
    struct Look
    {
        bool looked = true;
        QVector<ClassRecovery::Found> found;
    };
    auto look = std::make_shared<Look>();
    bool answered = false;
    // A share that hangs offers nothing now; the teacher can start the PC again later.
    if (!onShare(sync, ClassSync::startWaitMs,
                 [run = &session, look]() {
                     look->found = ClassRecovery::leftByOthers(*run, QDateTime(), &look->looked);
                     return true;
                 },
                 &answered))
        return false;
    const QVector<ClassRecovery::Found> found = look->found;
    if (!look->looked) {
        PlainMessage::information(parent, tr("Ufærdige test i klassemappen"),
                                  tr("Skrivlo kan ikke se, om en test fra en anden pc venter på at blive fortsat: "
                                     "klassemappen tager imod resultater, men viser dem kun til læreren.\n\n"
                                     "Skal en kursist fortsætte en test fra en anden pc, så start Skrivlo på den pc igen."),
                                  QMessageBox::Ok);
        return false;
    }
    if (found.isEmpty())
        return false;
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(tr("Ufærdige test i klassemappen"));
    box.setText((found.size() == 1 ? tr("En kursist har en ufærdig test fra en anden pc, som ikke er i gang nu.")
                                   : tr("%1 kursister har en ufærdig test fra en anden pc, som ikke er i gang nu.")
                                             .arg(found.size()))
                + tr("\n\nEr kursisten flyttet hertil, fordi den anden pc er gået i stå, så vælg "
                     "»Fortsæt en test her«. Ellers vælg »Ny test«."));
    QPushButton *choose = box.addButton(tr("Fortsæt en test her …"), QMessageBox::AcceptRole);
    QPushButton *fresh = box.addButton(tr("Ny test"), QMessageBox::RejectRole);
    box.setDefaultButton(fresh);
    box.exec();
    if (box.clickedButton() != choose)
        return false;
    QStringList items;
    for (const ClassRecovery::Found &test : found) {
        items.append(tr("%1 – fra pc'en %2 – sidst gemt %3%4")
                             .arg(nameOf(test.state), test.pc, DateText::moment(test.saved),
                                  minutesLeftText(test.state).replace(QLatin1Char('\n'), QStringLiteral(" – "))));
    }
    for (;;) {
        QInputDialog pick(parent);
        pick.setWindowTitle(tr("Fortsæt en test fra en anden pc"));
        pick.setLabelText(tr("Vælg kursistens test:"));
        pick.setComboBoxItems(items);
        pick.setComboBoxEditable(false);
        pick.setOkButtonText(tr("Fortsæt testen her"));
        pick.setCancelButtonText(tr("Ny test"));
        if (pick.exec() != QDialog::Accepted)
            return false;
        const QString picked = pick.textValue();
        const ClassRecovery::Found &test = found.at(items.indexOf(picked));
        auto reason = std::make_shared<QString>();
        bool taken = false;
        onShare(sync, -1, [run = &session, test, reason]() { return ClassRecovery::takeOver(*run, test, reason.get()); },
                &taken);
        if (taken) {
            *state = test.state;
            return true;
        }
        PlainMessage::warning(parent, tr("Testen kan ikke fortsætte her"), *reason, QMessageBox::Ok);
    }
}

} // namespace RecoveryOffer
