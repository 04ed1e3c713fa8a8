#include "commandline.h"
#include "mainwindow.h"
#include "resultsfolder.h"
#include "splashdialog.h"
#include "timingmarks.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyle>
#include <QTranslator>

#include <cstdio>

namespace {

// Qt's own dialogs (save, print, overwrite question, a field's context menu) in Danish.
// Installed with Qt on Linux; beside the program in a Windows deployment.
void installQtTranslation(QApplication &application, QTranslator &translator)
{
    const QStringList folders {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
    };
    for (const QString &folder : folders) {
        if (translator.load(QStringLiteral("qtbase_da"), folder)) {
            application.installTranslator(&translator);
            return;
        }
    }
}

int refuseToStart(const QString &message)
{
    QMessageBox::critical(nullptr, QCoreApplication::translate("main", "Skrivlo kan ikke starte"), message,
                          QMessageBox::Ok);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
#ifdef SKRIVLO_TIMING_MARKS
    TimingMarks::install();
#endif
    QApplication::setApplicationName(QStringLiteral("Skrivlo"));
    QApplication::setApplicationVersion(QStringLiteral("1.02"));
    // Plastique where the toolkit still has it; Fusion gives the same look everywhere else.
    if (!QApplication::setStyle(QStringLiteral("Plastique")))
        QApplication::setStyle(QStringLiteral("Fusion"));
    QTranslator qtTranslator;
    installQtTranslation(application, qtTranslator);

    const CommandLine::Parsed parsed = CommandLine::parse(QApplication::arguments());
    switch (parsed.outcome) {
    case CommandLine::Outcome::Help:
    case CommandLine::Outcome::Version:
        std::fputs(qPrintable(parsed.text), stdout);
        return 0;
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "%s\n", qPrintable(parsed.text));
        return refuseToStart(parsed.text);
    case CommandLine::Outcome::Run:
        break;
    }
    QString reason;
    if (!ResultsFolder::prepare(parsed.options.resultsFolder, &reason))
        return refuseToStart(reason);
    ResultsFolder::set(parsed.options.resultsFolder);

    SplashDialog splash(nullptr);
    if (splash.exec() != QDialog::Accepted)
        return 0;

    MainWindow window;
    window.showFullScreen();
    return application.exec();
}
