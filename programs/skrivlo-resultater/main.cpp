#include "archive/classkeys.h"
#include "archive/session.h"
#include "devices/loader/devicemodule.h"
#include "gate/splashdialog.h"
#include "startup/danishtexts.h"
#include "startup/programstart.h"
#include "teacherview/teacherview.h"
#include "widgets/voiceplayer.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <memory>

// The teacher's view of the class, behind the access dialog: every learner's result, opened
// with the school's password. Also started by "skrivlo --resultater".
int main(int argc, char *argv[])
{
    const QStringList arguments = ProgramStart::identify(argc, argv, QStringLiteral("--resultater"));
    if (const int answered = ProgramStart::answeredInTerminal(argc, argv, arguments); answered >= 0)
        return answered;
    QApplication application(argc, argv);
    DanishTexts danish;
    ProgramStart::dress(application, danish);
    int exitCode = -1;
    const CommandLine::Parsed parsed = ProgramStart::parse(arguments, &exitCode);
    if (exitCode >= 0)
        return exitCode;
    VoicePlayer player; // the results page's dialogs are the test's
    const std::unique_ptr<Session> session = ProgramStart::session(parsed.options, &exitCode);
    if (!session)
        return exitCode;

    SplashDialog splash(nullptr, session->settings(), SplashDialog::Results);
    // A learner's report is printed through the module, loaded while the password is typed.
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash, []() { DeviceModule::preload(); });
    // The view opens the class folder's keys itself, on its own thread, with the password.
    QString typed;
    splash.setUnlock([&typed](const QString &password, std::shared_ptr<const ClassKey>) {
        typed = password;
        return true;
    });
    if (splash.exec() != QDialog::Accepted)
        return 0;
    QStringList keyLines;
    if (!session->settings().schoolKeyLine().isEmpty())
        keyLines.append(session->settings().schoolKeyLine());
    const QString localLine = ClassKeys::localLine(session->workingFolder());
    if (!localLine.isEmpty())
        keyLines.append(localLine);
    const QString keyring = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                    .filePath(ClassKeys::folderName());
    const MachineSettings &settings = session->settings();
    TeacherView view(session->classFolder(), session->outbox().path(), session->workingFolder(),
                     ClassListing::Keys { typed, keyLines, keyring }, !settings.hasSchoolPassword(),
                     Retention(settings.keepMonths(), settings.deletesOldOnItsOwn(), settings.keepMonthsText()));
    view.showMaximized();
    return application.exec();
}
