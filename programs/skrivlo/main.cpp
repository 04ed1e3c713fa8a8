#include "archive/classkeys.h"
#include "archive/foldercheck.h"
#include "archive/reportfile.h"
#include "archive/session.h"
#include "devices/loader/devicemodule.h"
#include "gate/newpassworddialog.h"
#include "gate/splashdialog.h"
#include "recordings/recordingsurvey.h"
#include "safekeeping/autosave.h"
#include "safekeeping/classsync.h"
#include "safekeeping/recoveryoffer.h"
#include "startup/folderprompt.h"
#include "startup/programstart.h"
#include "startup/recordingnotice.h"
#include "startup/siblingprogram.h"
#include "testwindow/mainwindow.h"

#include <QApplication>
#include <QFile>

#include <future>
#include <memory>

// The learner's test: the access dialog, then the full-screen window with the pages. Start
// reading here.
namespace {

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
bool settleFolder(std::unique_ptr<Session> &session, std::unique_ptr<MainWindow> &window,
                  std::future<QString> firstCheck)
{
    QString problem = firstCheck.valid() ? firstCheck.get() : folderProblem(session->folder());
    while (!problem.isEmpty()) {
        const QString other = FolderPrompt::askForAnother(nullptr, problem, session->folder().path());
        if (other.isEmpty())
            return false;
        window.reset();
        session = std::make_unique<Session>(WorkingFolder(other), session->settings(), session->classFolderAsked());
        problem = session->lock().refusal(session->lock().acquire());
        if (problem.isEmpty())
            problem = folderProblem(session->folder());
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The teacher's view and the studio are programs of their own; menus and scripts that
    // ask this one are handed on with the same arguments.
    const QString sibling = SiblingProgram::asked(argc, argv);
    if (!sibling.isEmpty()) {
        QCoreApplication core(argc, argv);
        const int status = SiblingProgram::run(sibling);
        if (status >= 0)
            return status;
    }
    ProgramStart start(argc, argv);
    if (start.ended())
        return start.exitCode();
    if (!sibling.isEmpty())
        return ProgramStart::refuse(QCoreApplication::translate("main", "Skrivlo kan ikke starte %1, fordi en del af "
                                                                        "programmet mangler. Installér Skrivlo igen.")
                                            .arg(sibling));
    if (start.options().newPassword)
        return NewPasswordDialog::run(MachineSettings::defaultPath());
    std::unique_ptr<Session> session = start.session();
    if (!session)
        return start.exitCode();
    // Taking the lock writes a file through to the disk: done on a thread while the dialog
    // is built.
    std::future<InstanceLock::Outcome> locking =
            std::async(std::launch::async, [lock = &session->lock()]() { return lock->acquire(); });

    // While the teacher types the password, every recording is read and checked, the sound
    // and print module is loaded and the main window is built, so the test comes up at once.
    RecordingSurvey survey;
    std::unique_ptr<MainWindow> window;
    SplashDialog splash(nullptr, session->settings());
    if (const QString refused = session->lock().refusal(locking.get()); !refused.isEmpty())
        return ProgramStart::refuse(refused);
    // The folder's write check (a file written through to the disk and removed) runs while
    // the teacher types too, so Return goes straight to the test.
    std::future<QString> folderChecked;
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash,
                     [&survey, &window, &session, &folderChecked]() {
        DeviceModule::preload();
        if (window)
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
    splash.setUnlock([unlocked, settingsLine = session->settings().schoolKeyLine(), work = session->workingFolder(),
                      classPath = session->classFolder()](const QString &password,
                                                          std::shared_ptr<const ClassKey> settingsKey) {
        QStringList classLines;
        unlocked->own = ClassKeys::forPc({ settingsKey, settingsLine }, work, classPath, password, &classLines);
        // Keys of PCs whose settings hold a key of their own: a test they left can go on here.
        unlocked->others.add(unlocked->own.key);
        ClassKeys::open(&unlocked->others, classLines, password, nullptr, 4);
        return unlocked->own.key != nullptr;
    });
    if (splash.exec() != QDialog::Accepted)
        return 0;

    if (!settleFolder(session, window, std::move(folderChecked)))
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
    sync.start(nullptr, session->classFolderAsked().isEmpty(),
               unlocked->own.classFolderAnswered ? ClassSync::startWaitMs : 0);
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
    sync.serve(window.get());
    sync.keepUp();
    window->showFullScreen();
    return QApplication::exec();
}
