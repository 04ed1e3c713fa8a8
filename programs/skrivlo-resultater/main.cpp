#include "archive/classkeys.h"
#include "archive/session.h"
#include "devices/loader/devicemodule.h"
#include "gate/splashdialog.h"
#include "startup/programstart.h"
#include "teacherview/teacherview.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <memory>

// The teacher's view of the class, behind the access dialog: every learner's result, opened
// with the school's password. Also started by "skrivlo --resultater".
int main(int argc, char *argv[])
{
    ProgramStart start(argc, argv, QStringLiteral("--resultater"));
    if (start.ended())
        return start.exitCode();
    const std::unique_ptr<Session> session = start.session();
    if (!session)
        return start.exitCode();

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
    return QApplication::exec();
}
