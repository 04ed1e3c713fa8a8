#include "autosave.h"
#include "commandline.h"
#include "devicemodule.h"
#include "devices.h"
#include "focusringstyle.h"
#include "instancelock.h"
#include "learnerarchive.h"
#include "learnerrecord.h"
#include "manuscript.h"
#include "mainwindow.h"
#include "recordingnotice.h"
#include "recordingsurvey.h"
#include "resultsfolder.h"
#include "splashdialog.h"
#include "timingmarks.h"
#include "voiceplayer.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <future>
#include <memory>

namespace {

// Qt's own dialogs (save, print, overwrite question, a field's context menu) in Danish.
// Installed with Qt on Linux; beside the program in a Windows deployment.
void installQtTranslation(QCoreApplication &application, QTranslator &translator)
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
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QMessageBox::critical(nullptr, QCoreApplication::translate("main", "Skrivlo kan ikke starte"), message,
                          QMessageBox::Ok);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Skrivlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.02"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
    if (parsed.outcome == CommandLine::Outcome::Help || parsed.outcome == CommandLine::Outcome::Version) {
        // Answered in a terminal without a window system; Qt's part of the help in Danish too.
        QCoreApplication terminal(argc, argv);
        QTranslator qtTranslator;
        installQtTranslation(terminal, qtTranslator);
        std::fputs(qPrintable(CommandLine::parse(arguments).text), stdout);
        return 0;
    }

    QApplication application(argc, argv);
#ifdef SKRIVLO_TIMING_MARKS
    TimingMarks::install();
#endif
    // Plastique where the toolkit still has it; Fusion gives the same look everywhere else.
    QStyle *style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(new FocusRingStyle(style));
    QTranslator qtTranslator;
    installQtTranslation(application, qtTranslator);

    if (parsed.outcome == CommandLine::Outcome::Error) {
        return refuseToStart(parsed.text);
    }
    QString reason;
    if (!ResultsFolder::prepare(parsed.options.resultsFolder, &reason))
        return refuseToStart(reason);
    ResultsFolder::set(parsed.options.resultsFolder);
    // Taking the lock writes a file through to the disk: done on a thread while the dialog
    // is built.
    std::future<InstanceLock::Outcome> locking;
    if (!parsed.options.recordingMode)
        locking = std::async(std::launch::async, []() { return instanceLock().acquire(); });

    // While the teacher types the password, every recording is read and checked, the sound
    // and print module is loaded and the main window is built, so the test comes up at once.
    RecordingSurvey survey;
    std::unique_ptr<MainWindow> window;
    SplashDialog splash(nullptr);
    if (locking.valid() && locking.get() == InstanceLock::HeldByOther)
        return refuseToStart(InstanceLock::heldMessage(ResultsFolder::path()));
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash, [&survey, &window, &parsed]() {
        DeviceModule::preload();
        if (parsed.options.recordingMode || window)
            return;
        survey.start();
        window = std::make_unique<MainWindow>();
    });
    if (splash.exec() != QDialog::Accepted)
        return 0;

    if (parsed.options.recordingMode) {
        Devices *devices = DeviceModule::devices();
        if (!devices)
            return refuseToStart(QCoreApplication::translate("main", "Skrivlo kan ikke optage, fordi en del af "
                                                                      "programmet mangler (skrivlo_devices). "
                                                                      "Installér Skrivlo igen."));
        std::unique_ptr<QWidget> studio(devices->newStudio(
            Manuscript::recordings(), [](const QString &path) { voicePlayer.play(path); },
            []() { voicePlayer.stop(); }));
        studio->showMaximized();
        return application.exec();
    }
    if (!RecordingNotice::checkAndAsk(survey))
        return 0;
    RecoveryState recovered;
    const bool resuming = LearnerArchive::offerRecovery(nullptr, &recovered);

    if (!window)
        window = std::make_unique<MainWindow>();
    if (resuming)
        LearnerArchive::resume(window.get(), recovered);
    else
        currentLearner().started = QDateTime::currentDateTime();
    new Autosave(window.get()); // owned by the window
    window->showFullScreen();
    return application.exec();
}
