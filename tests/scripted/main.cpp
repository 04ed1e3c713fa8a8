#include "archive/session.h"
#include "startup/danishtexts.h"
#include "startup/programstart.h"
#include "tests/scripted/scriptedrun.h"
#include "widgets/voiceplayer.h"

#include <QApplication>

#include <memory>

// The test program of the journeys that start many copies at once: skrivlo's start (the same
// command line, settings, working folder and lock), then a learner's run from the script the
// environment names, through the pages' own writing code. Never installed.
int main(int argc, char *argv[])
{
    const QStringList arguments = ProgramStart::identify(argc, argv);
    QApplication application(argc, argv);
    DanishTexts danish;
    ProgramStart::dress(application, danish);
    int exitCode = -1;
    const CommandLine::Parsed parsed = ProgramStart::parse(arguments, &exitCode);
    if (exitCode >= 0)
        return exitCode;
    VoicePlayer player;
    const std::unique_ptr<Session> session = ProgramStart::session(parsed.options, &exitCode);
    if (!session)
        return exitCode;
    const InstanceLock::Outcome locked = session->lock().acquire();
    if (locked == InstanceLock::HeldByOther)
        return ProgramStart::refuse(InstanceLock::heldMessage(session->folder().path()));
    if (locked == InstanceLock::NotALockFile)
        return ProgramStart::refuse(session->lock().notALockFileMessage());
    if (!qEnvironmentVariableIsSet(ScriptedRun::variable))
        return ProgramStart::refuse(QStringLiteral("%1 names no script.").arg(QString::fromLatin1(ScriptedRun::variable)));
    return ScriptedRun::run(*session, qEnvironmentVariable(ScriptedRun::variable));
}
