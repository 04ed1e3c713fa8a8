#include "archive/session.h"
#include "devices/loader/devicemodule.h"
#include "gate/splashdialog.h"
#include "recordings/manuscript.h"
#include "startup/danishtexts.h"
#include "startup/programstart.h"
#include "studio/studiowindow.h"
#include "widgets/voiceplayer.h"

#include <QApplication>

#include <memory>

// The recording studio, behind the access dialog: the teacher reads every text of the test
// aloud, and the takes replace the spoken recordings. Also started by "skrivlo --indtal".
int main(int argc, char *argv[])
{
    const QStringList arguments = ProgramStart::identify(argc, argv, QStringLiteral("--indtal"));
    if (const int answered = ProgramStart::answeredInTerminal(argc, argv, arguments); answered >= 0)
        return answered;
    QApplication application(argc, argv);
    DanishTexts danish;
    ProgramStart::dress(application, danish);
    int exitCode = -1;
    const CommandLine::Parsed parsed = ProgramStart::parse(arguments, &exitCode);
    if (exitCode >= 0)
        return exitCode;
    // The program's own recordings are heard through the one player, as in the test.
    VoicePlayer player;
    const std::unique_ptr<Session> session = ProgramStart::session(parsed.options, &exitCode);
    if (!session)
        return exitCode;

    SplashDialog splash(nullptr, session->settings());
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash, []() { DeviceModule::preload(); });
    if (splash.exec() != QDialog::Accepted)
        return 0;
    StudioWindow studio(Manuscript::recordings(), [](const QString &path) { voicePlayer->play(path); },
                        []() { voicePlayer->stop(); });
    studio.showMaximized();
    return application.exec();
}
