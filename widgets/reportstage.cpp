#include "widgets/reportstage.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ReportFile", text);
}

bool offerRetry(QWidget *parent, const QString &failedFile)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Critical);
    box.setWindowTitle(tr("Resultaterne er ikke gemt"));
    box.setText(tr("Hent din lærer.\n\n"
                   "Til læreren: Programmet kan ikke skrive til filen\n»%1«.\n"
                   "Alle svar er bevaret. Skaf plads på disken, eller ret fejlen,\n"
                   "og tryk så på »Prøv igen«.\n"
                   "»Luk programmet« lukker, uden at diktaten kommer med i resultaterne.")
                        .arg(QDir::toNativeSeparators(failedFile)));
    QPushButton *retry = box.addButton(tr("Prøv igen"), QMessageBox::AcceptRole);
    box.addButton(tr("Luk programmet"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}

void tellCritical(QWidget *parent, const QString &failedFile)
{
    QMessageBox::critical(parent, tr("Kritisk fejl!"),
                          tr("Programmet kan ikke skrive til\nfilen \"%1\".\n\nKontakt din lærer!")
                                  .arg(QDir::toNativeSeparators(failedFile)),
                          QMessageBox::Ok);
}

} // namespace

namespace ReportStage {

bool write(QWidget *parent, Session &session, ReportFile::Mode mode, const QString &text)
{
    for (;;) {
        const QString failed = ReportFile::writeStage(session, mode, text);
        if (failed.isEmpty())
            return true;
        if (mode == ReportFile::Create || !offerRetry(parent, failed)) {
            tellCritical(parent, failed);
            return false;
        }
    }
}

} // namespace ReportStage
