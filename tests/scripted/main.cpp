#include "archive/session.h"
#include "startup/programstart.h"
#include "tests/scripted/scriptedrun.h"

#include <memory>

// The test program of the journeys that start many copies at once: skrivlo's start (the same
// command line, settings, working folder and lock), then a learner's run from the script the
// environment names, through the pages' own writing code. Never installed.
int main(int argc, char *argv[])
{
    ProgramStart start(argc, argv);
    if (start.ended())
        return start.exitCode();
    const std::unique_ptr<Session> session = start.session();
    if (!session)
        return start.exitCode();
    if (const QString refused = session->lock().refusal(session->lock().acquire()); !refused.isEmpty())
        return ProgramStart::refuse(refused);
    if (!qEnvironmentVariableIsSet(ScriptedRun::variable))
        return ProgramStart::refuse(QStringLiteral("%1 names no script.").arg(QString::fromLatin1(ScriptedRun::variable)));
    return ScriptedRun::run(*session, qEnvironmentVariable(ScriptedRun::variable));
}
