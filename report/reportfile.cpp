#include "reportfile.h"

#include "learnerfilename.h"
#include "learnerrecord.h"
#include "resultsfolder.h"
#include "safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

QString ReportFile::fileName()
{
    return QStringLiteral("results.html");
}

bool ReportFile::write(const QString &path, const QString &text)
{
    return SafeFile::write(path, text.toUtf8());
}

QString ReportFile::learnerFilePath()
{
    return ResultsFolder::filePath(LearnerFileName::folderName() + QLatin1Char('/') + currentLearner().reportName);
}

// Returns the name of the file that could not be written, or an empty string.
QString ReportFile::writeBoth(const QString &document)
{
    if (!write(ResultsFolder::filePath(fileName()), document))
        return fileName();
    LearnerRecord &learner = currentLearner();
    const QString folder = ResultsFolder::filePath(LearnerFileName::folderName());
    if (learner.reportName.isEmpty()) {
        if (!learner.started.isValid())
            learner.started = QDateTime::currentDateTime();
        const QString stem = LearnerFileName::stem(learner.started, learner.details.value(2));
        learner.reportName = LearnerFileName::unused(folder, stem);
    }
    const QString shownName = LearnerFileName::folderName() + QLatin1Char('/') + learner.reportName;
    if (!QDir().mkpath(folder) || !write(learnerFilePath(), document))
        return shownName;
    return QString();
}

void ReportFile::writeOrExit(QWidget *parent, Mode mode, const QString &text)
{
    LearnerRecord &learner = currentLearner();
    if (mode == Create)
        learner.reportName.clear(); // a new learner gets a file of their own
    const QString document = mode == Create ? text : learner.document + text;
    for (;;) {
        const QString failed = writeBoth(document);
        if (failed.isEmpty()) {
            learner.document = document;
            return;
        }
        if (mode == Create || !offerRetry(parent, failed))
            giveUp(parent, failed);
    }
}

bool ReportFile::offerRetry(QWidget *parent, const QString &failedFile)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Critical);
    box.setWindowTitle(QCoreApplication::translate("ReportFile", "Resultaterne er ikke gemt"));
    box.setText(QCoreApplication::translate("ReportFile",
                                            "Programmet kan ikke skrive til\nfilen \"%1\".\n\n"
                                            "Alle svar er bevaret. Læreren kan skaffe plads i mappen\n"
                                            "eller rette fejlen og så prøve igen.")
                        .arg(QDir::toNativeSeparators(failedFile)));
    QPushButton *retry = box.addButton(QCoreApplication::translate("ReportFile", "Prøv igen"), QMessageBox::AcceptRole);
    box.addButton(QCoreApplication::translate("ReportFile", "Giv op"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}

void ReportFile::giveUp(QWidget *parent, const QString &failedFile)
{
    QMessageBox::critical(parent, QCoreApplication::translate("ReportFile", "Kritisk fejl!"),
                          QCoreApplication::translate("ReportFile",
                                                      "Programmet kan ikke skrive til\nfilen \"%1\".\n\nKontakt din lærer!")
                                  .arg(QDir::toNativeSeparators(failedFile)),
                          QMessageBox::Ok);
    // exit(), not _Exit(): the static instance lock must be let go for the next learner's
    // start. The program-wide voice player leaves its sound to the operating system then.
    std::exit(1);
}
