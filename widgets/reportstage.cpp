#include "widgets/reportstage.h"

#include "archive/recoveryfile.h"
#include "archive/session.h"
#include "archive/workingfolder.h"
#include "model/reporttext.h"
#include "widgets/answersnapshot.h"
#include "widgets/plainmessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ReportFile", text);
}

enum class Choice { Retry, Elsewhere, GiveUp };

// keptIn: the folder that holds every answer now, or empty when they are only in memory.
Choice offerRetry(QWidget *parent, const QString &failedFile, const QString &keptIn, bool inWorkingFolder)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Critical);
    box.setWindowTitle(inWorkingFolder || !keptIn.isEmpty() ? tr("Resultaterne er ikke gemt") : tr("Svarene er ikke gemt"));
    const QString file = QDir::toNativeSeparators(failedFile);
    if (inWorkingFolder)
        box.setText(tr("Hent din lærer.\n\n"
                       "Til læreren: Programmet kan ikke skrive til filen\n»%1«.\n"
                       "Alle svar er bevaret. Skaf plads på disken, eller ret fejlen,\n"
                       "og tryk så på »Prøv igen«.\n"
                       "»Luk programmet« lukker, uden at diktaten kommer med i resultaterne.")
                            .arg(file));
    else if (!keptIn.isEmpty())
        box.setText(tr("Hent din lærer.\n\n"
                       "Til læreren: Programmet kan ikke skrive til filen\n»%1«.\n"
                       "Alle svar er gemt i mappen »%2«. Skaf plads på disken, eller ret fejlen,\n"
                       "og tryk så på »Prøv igen«.\n"
                       "»Luk programmet« lukker, uden at diktaten kommer med i resultaterne.")
                            .arg(file, QDir::toNativeSeparators(keptIn)));
    else
        box.setText(tr("Hent din lærer.\n\n"
                       "Til læreren: Programmet kan ikke skrive til filen\n»%1«.\n"
                       "Svarene er heller ikke gemt i nogen anden fil: de findes kun på skærmen og i "
                       "programmets hukommelse, indtil programmet lukkes.\n"
                       "Skaf plads på disken, eller ret fejlen, og tryk så på »Prøv igen«. "
                       "Eller gem svarene et andet sted, fx på en USB-nøgle.")
                            .arg(file));
    QPushButton *retry = box.addButton(tr("Prøv igen"), QMessageBox::AcceptRole);
    QPushButton *elsewhere = box.addButton(tr("Gem et &andet sted …"), QMessageBox::ActionRole);
    box.addButton(tr("Luk programmet"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() == retry)
        return Choice::Retry;
    return box.clickedButton() == elsewhere ? Choice::Elsewhere : Choice::GiveUp;
}

// The last word before answers that exist only in memory are let go.
bool confirmLoss(QWidget *parent)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(tr("Svarene går tabt"));
    box.setText(tr("Svarene er ikke gemt nogen steder. Lukker du programmet nu, går alle svar i denne "
                   "diktat tabt.\n\nVil du lukke programmet alligevel?"));
    QPushButton *back = box.addButton(tr("Tilbage"), QMessageBox::RejectRole);
    QPushButton *close = box.addButton(tr("Luk programmet alligevel"), QMessageBox::DestructiveRole);
    box.setDefaultButton(back);
    box.exec();
    return box.clickedButton() == close;
}

// The answers on screen, as the saved test in the folder. False when nothing was saved.
bool saveAnswers(const QWidget *parent, Session &session, const WorkingFolder &folder, TestStep step, qint64 workedMs)
{
    const std::shared_ptr<const ClassKey> key = session.sealingKey();
    return key
            && RecoveryFile::write(folder, *key,
                                   AnswerSnapshot::take(parent ? parent->window() : nullptr, session.learner(), step,
                                                        workedMs));
}

// The answers and the report with this stage, in a folder the teacher picks (a USB stick).
// Returns the folder, or empty when nothing was saved there.
QString saveElsewhere(QWidget *parent, Session &session, const QString &text, TestStep step, qint64 workedMs)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, tr("Vælg en mappe til svarene"), QString(),
                                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return QString();
    const WorkingFolder there(folder);
    const bool answers = saveAnswers(parent, session, there, step, workedMs);
    const bool report = ReportFile::write(there.filePath(ReportFile::fileName()),
                                          ReportText::unfinished(session.learner().document + text));
    if (answers && report)
        return folder;
    PlainMessage::warning(parent, tr("Ikke gemt"),
                          tr("Svarene kan heller ikke gemmes i mappen »%1«.").arg(QDir::toNativeSeparators(folder)),
                          QMessageBox::Ok);
    return QString();
}

void tellCritical(QWidget *parent, const QString &failedFile)
{
    PlainMessage::critical(parent, tr("Kritisk fejl!"),
                           tr("Programmet kan ikke skrive til\nfilen \"%1\".\n\nKontakt din lærer!")
                                   .arg(QDir::toNativeSeparators(failedFile)),
                           QMessageBox::Ok);
}

} // namespace

namespace ReportStage {

bool write(QWidget *parent, Session &session, ReportFile::Mode mode, const QString &text, TestStep step,
           qint64 workedMs)
{
    QString keptIn;
    for (;;) {
        const QString failed = ReportFile::writeStage(session, mode, text);
        if (failed.isEmpty())
            return true;
        if (mode == ReportFile::Create) {
            tellCritical(parent, failed);
            return false;
        }
        // Said only when it is true now: the recovery file is written again first.
        const bool inWorkingFolder = saveAnswers(parent, session, session.folder(), step, workedMs);
        const Choice choice = offerRetry(parent, failed, keptIn, inWorkingFolder);
        if (choice == Choice::Retry)
            continue;
        if (choice == Choice::Elsewhere) {
            const QString folder = saveElsewhere(parent, session, text, step, workedMs);
            if (!folder.isEmpty())
                keptIn = folder;
            continue;
        }
        if (inWorkingFolder || !keptIn.isEmpty() || confirmLoss(parent)) {
            tellCritical(parent, failed);
            return false;
        }
    }
}

} // namespace ReportStage
