#include "archive/session.h"
#include "devices/loader/devicemodule.h"
#include "gate/splashdialog.h"
#include "recordings/manuscript.h"
#include "startup/programstart.h"
#include "studio/studiowindow.h"
#include "widgets/voiceplayer.h"

#include <QApplication>

#include <memory>

// The recording studio, behind the access dialog: the teacher reads every text of the test
// aloud, and the takes replace the spoken recordings. Also started by "skrivlo --indtal".
int main(int argc, char *argv[])
{
    ProgramStart start(argc, argv, QStringLiteral("--indtal"));
    if (start.ended())
        return start.exitCode();
    const std::unique_ptr<Session> session = start.session();
    if (!session)
        return start.exitCode();

    SplashDialog splash(nullptr, session->settings());
    QObject::connect(&splash, &SplashDialog::passwordEdited, &splash, []() { DeviceModule::preload(); });
    if (splash.exec() != QDialog::Accepted)
        return 0;
    // The program's own recordings are heard through the one player, as in the test.
    StudioWindow studio(Manuscript::recordings(), [](const QString &path) { voicePlayer->play(path); },
                        []() { voicePlayer->stop(); });
    studio.showMaximized();
    return QApplication::exec();
}
