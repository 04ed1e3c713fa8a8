#include "app/autosave.h"
#include "app/classsync.h"
#include "app/commandline.h"
#include "app/danishtexts.h"
#include "app/folderprompt.h"
#include "app/mainwindow.h"
#include "app/newpassworddialog.h"
#include "app/recordingnotice.h"
#include "app/recoveryoffer.h"
#include "app/scriptedrun.h"
#include "app/splashdialog.h"
#include "archive/classkeys.h"
#include "archive/foldercheck.h"
#include "archive/reportfile.h"
#include "archive/session.h"
#include "devices/devicemodule.h"
#include "devices/studiodevice.h"
#include "devices/teacherviewdevice.h"
#include "model/learnerfilename.h"
#include "model/recoverytext.h"
#include "recordings/manuscript.h"
#include "recordings/recordingsurvey.h"
#include "timing/timingmarks.h"
#include "widgets/focusringstyle.h"
#include "widgets/plainmessage.h"
#include "widgets/voiceplayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <future>
#include <memory>

namespace {

int refuseToStart(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    PlainMessage::critical(nullptr, QCoreApplication::translate("main", "Skrivlo kan ikke starte"), message,
                           QMessageBox::Ok);
    return 1;
}

// The recording window and the teacher's view live in the sound and print module; without it
// only the test itself can run. what: "optage", "vise resultaterne".
int refuseWithoutModule(const QString &what)
{
    return refuseToStart(QCoreApplication::translate("main", "Skrivlo kan ikke %1, fordi en del af programmet "
                                                              "mangler (skrivlo_devices). Installér Skrivlo igen.")
                                 .arg(what));
}

// What the teacher reads aloud in recording mode: every recording of the manuscript.
QVector<StudioText> studioTexts()
{
    QVector<StudioText> texts;
    for (const Manuscript::Recording &recording : Manuscript::recordings())
        texts.append({ recording.fileName, recording.parts });
    return texts;
}

// The teacher's view, behind the access dialog. It lives in the module, which is loaded
// while the password is typed.
int runTeacherView(Session &session)
{
    SplashDialog splash(nullptr, session.settings(), SplashDialog::Results);
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash, []() { DeviceModule::preload(); });
    // The view opens the class folder's keys itself, on its own thread, with the password.
    auto typed = std::make_shared<QString>();
    splash.setUnlock([typed](const QString &password, std::shared_ptr<const ClassKey>) {
        *typed = password;
        return true;
    });
    if (splash.exec() != QDialog::Accepted)
        return 0;
    TeacherViewDevice *device = DeviceModule::teacherView();
    if (!device)
        return refuseWithoutModule(QCoreApplication::translate("main", "vise resultaterne"));
    QStringList keyLines;
    if (!session.settings().schoolKeyLine().isEmpty())
        keyLines.append(session.settings().schoolKeyLine());
    const QString localLine = ClassKeys::localLine(session.workingFolder());
    if (!localLine.isEmpty())
        keyLines.append(localLine);
    const QString keyring = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                    .filePath(ClassKeys::folderName());
    const std::unique_ptr<QWidget> view = device->newTeacherView(
            session.classFolder(), session.outbox().path(), session.workingFolder(), *typed, keyLines, keyring,
            !session.settings().hasSchoolPassword(), session.settings().keepMonths(),
            session.settings().keepMonthsText(), session.settings().deletesOldOnItsOwn());
    view->showMaximized();
    return QApplication::exec();
}

// What is wrong with the working folder for writing, or nothing.
QString folderProblem(const WorkingFolder &folder)
{
    QString problem;
    FolderCheck::writable(folder, &problem);
    return problem;
}

// The working folder must take files before a learner types anything. When it does not,
// the teacher picks another (the window built for the first one goes with it) or closes.
// The first folder's check is made while the password is typed.
bool settleFolder(std::unique_ptr<Session> &session, std::unique_ptr<MainWindow> &window, const QString &classFolder,
                  std::future<QString> firstCheck)
{
    QString problem = firstCheck.valid() ? firstCheck.get() : folderProblem(session->folder());
    while (!problem.isEmpty()) {
        const QString other = FolderPrompt::askForAnother(nullptr, problem, session->folder().path());
        if (other.isEmpty())
            return false;
        window.reset();
        session = std::make_unique<Session>(WorkingFolder(other), session->settings(), classFolder);
        const InstanceLock::Outcome outcome = session->lock().acquire();
        if (outcome == InstanceLock::HeldByOther)
            problem = InstanceLock::heldMessage(session->folder().path());
        else if (outcome == InstanceLock::NotALockFile)
            problem = session->lock().notALockFileMessage();
        else
            problem = folderProblem(session->folder());
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Skrivlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SKRIVLO_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
#ifndef Q_OS_WIN
    const CommandLine::Outcome asked = CommandLine::parse(arguments).outcome;
    if (asked == CommandLine::Outcome::Help || asked == CommandLine::Outcome::Version) {
        // Answered in a terminal without a window system, in Danish like the rest.
        QCoreApplication terminal(argc, argv);
        DanishTexts danish;
        danish.install(terminal);
        std::fputs(qPrintable(CommandLine::parse(arguments).text), stdout);
        return 0;
    }
    // An option not understood, typed where there is no window to show it in: said in Danish
    // on the terminal, not by Qt in English as it gives up finding a display.
    if (asked == CommandLine::Outcome::Error && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        QCoreApplication terminal(argc, argv);
        DanishTexts danish;
        danish.install(terminal);
        std::fprintf(stderr, "%s\n", qPrintable(CommandLine::parse(arguments).text));
        return 1;
    }
#endif

    QApplication application(argc, argv);
#ifdef SKRIVLO_TIMING_MARKS
    TimingMarks::install();
#endif
    // Plastique where the toolkit still has it; Fusion gives the same look everywhere else.
    QStyle *style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(new FocusRingStyle(style));
    DanishTexts danish;
    danish.install(application);
    // Read once Qt's catalogue is in, so that its own errors about options are Danish too.
    const CommandLine::Parsed parsed = CommandLine::parse(arguments);
#ifdef Q_OS_WIN
    // A Windows program has no terminal to print to.
    if (parsed.outcome == CommandLine::Outcome::Help || parsed.outcome == CommandLine::Outcome::Version) {
        PlainMessage::information(nullptr, QStringLiteral("Skrivlo"), parsed.text, QMessageBox::Ok);
        return 0;
    }
#endif
    // Everything below lives no longer than the application: the player's sound is let go
    // while Qt's sound machinery still exists.
    VoicePlayer player;

    if (parsed.outcome == CommandLine::Outcome::Error)
        return refuseToStart(parsed.text);
    if (parsed.options.newPassword)
        return NewPasswordDialog::run(MachineSettings::defaultPath());
    // Settings that cannot be trusted open nothing: the fixed password must not take over
    // from the school's, so the program says what is wrong and stops before the dialog.
    const MachineSettings settings = MachineSettings::read(MachineSettings::defaultPath());
    if (settings.isRefused())
        return refuseToStart(settings.problem());
    QString reason;
    if (!WorkingFolder::prepare(parsed.options.workingFolder, &reason))
        return refuseToStart(reason);
    // The class folder: the command line's, else the one IT set for the machine (a relative
    // one lies in the working folder), else "resultater" in the working folder.
    const QString classFolder = parsed.options.classFolder.isEmpty() ? settings.classFolder()
                                                                    : parsed.options.classFolder;
    auto session = std::make_unique<Session>(WorkingFolder(parsed.options.workingFolder), settings, classFolder);
    if (parsed.options.teacherView)
        return runTeacherView(*session);
    // Taking the lock writes a file through to the disk: done on a thread while the dialog
    // is built.
    std::future<InstanceLock::Outcome> locking;
    if (!parsed.options.recordingMode)
        locking = std::async(std::launch::async, [lock = &session->lock()]() { return lock->acquire(); });

    // While the teacher types the password, every recording is read and checked, the sound
    // and print module is loaded and the main window is built, so the test comes up at once.
    RecordingSurvey survey;
    std::unique_ptr<MainWindow> window;
    SplashDialog splash(nullptr, session->settings());
    const InstanceLock::Outcome locked = locking.valid() ? locking.get() : InstanceLock::NotPossible;
    if (locked == InstanceLock::HeldByOther)
        return refuseToStart(InstanceLock::heldMessage(session->folder().path()));
    if (locked == InstanceLock::NotALockFile)
        return refuseToStart(session->lock().notALockFileMessage());
    if (qEnvironmentVariableIsSet(ScriptedRun::variable))
        return ScriptedRun::run(*session, qEnvironmentVariable(ScriptedRun::variable));
    // The folder's write check (a file written through to the disk and removed) runs while
    // the teacher types too, so Return goes straight to the test.
    std::future<QString> folderChecked;
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash,
                     [&survey, &window, &parsed, &session, &folderChecked]() {
        DeviceModule::preload();
        if (parsed.options.recordingMode || window)
            return;
        folderChecked = std::async(std::launch::async, folderProblem, session->folder());
        survey.start();
        window = std::make_unique<MainWindow>(*session);
        window->drawAhead();
    });
    // A right password also unlocks the class key (read, taken from the class folder, or
    // made), on the dialog's worker thread.
    struct Unlocked
    {
        ClassKeys::Own own;
        Keyring others;
    };
    auto unlocked = std::make_shared<Unlocked>();
    if (!parsed.options.recordingMode) {
        splash.setUnlock([unlocked, settingsLine = session->settings().schoolKeyLine(),
                          work = session->workingFolder(), classPath = session->classFolder()](
                                 const QString &password, std::shared_ptr<const ClassKey> settingsKey) {
            QStringList classLines;
            unlocked->own = ClassKeys::forPc({ settingsKey, settingsLine }, work, classPath, password, &classLines);
            // Keys of PCs whose settings hold a key of their own: a test they left can go on here.
            unlocked->others.add(unlocked->own.key);
            ClassKeys::open(&unlocked->others, classLines, password, nullptr, 4);
            return unlocked->own.key != nullptr;
        });
    }
    if (splash.exec() != QDialog::Accepted)
        return 0;

    if (parsed.options.recordingMode) {
        StudioDevice *device = DeviceModule::studio();
        if (!device)
            return refuseWithoutModule(QCoreApplication::translate("main", "optage"));
        const std::unique_ptr<QWidget> studio = device->newStudio(
                studioTexts(), [](const QString &path) { voicePlayer->play(path); }, []() { voicePlayer->stop(); });
        studio->showMaximized();
        return application.exec();
    }
    if (!settleFolder(session, window, classFolder, std::move(folderChecked)))
        return 1;
    // The key is kept, and goes to the class folder as it is (only the password opens it) for
    // the teacher's view, once it first seals something; what an older version left in the
    // outbox in the clear is sealed now.
    Session *run = session.get();
    session->unlock(unlocked->own.key, unlocked->others,
                    [run, own = unlocked->own]() { ClassKeys::keep(own, run->workingFolder(), run->outbox()); });
    session->outbox().sealLeftInTheClear();
    // What a write cut off by a crash or a power cut left behind.
    FolderCheck::removeLeftovers(session->folder());
    if (!RecordingNotice::checkAndAsk(survey))
        return 0;
    // From here on the class folder is worked on by its own thread, never by the window's.
    ClassSync sync(*session);
    // A share that did not give its keys in time is not waited for a second time.
    sync.start(nullptr, classFolder.isEmpty(), unlocked->own.classFolderAnswered ? ClassSync::startWaitMs : 0);
    RecoveryState recovered;
    const RecoveryOffer::Choice choice = RecoveryOffer::ask(nullptr, *session, &recovered, &sync);
    if (choice == RecoveryOffer::Choice::Stop)
        return 1;
    const bool resuming = choice == RecoveryOffer::Choice::Continue
            || RecoveryOffer::askForClassTest(nullptr, *session, &recovered, &sync);

    if (!window)
        window = std::make_unique<MainWindow>(*session);
    if (resuming) {
        RecoveryOffer::resume(window.get(), *session, recovered);
    } else {
        session->learner().started = QDateTime::currentDateTime();
        // The learner before has gone: their report is kept sealed in the class folder (or
        // the outbox), not in the clear for the next learner at this PC to read.
        QFile::remove(session->folder().filePath(ReportFile::fileName()));
    }
    new Autosave(window.get(), *session); // owned by the window
    window->setClassSync(&sync);
    sync.keepUp();
    window->showFullScreen();
    return application.exec();
}
