#pragma once

#include "startup/commandline.h"


#include <memory>

class DanishTexts;
class QApplication;
class QString;
class Session;
class VoicePlayer;

// What the three programs (the test, the teacher's view, the recording studio) do alike before
// their first window. Made first in main and kept for the whole run: it owns the application
// with its look and Danish texts, and the one voice player, which goes before the application.
class ProgramStart
{
public:
    // Names the program and reads its arguments; ownMode ("--resultater", "--indtal") is added
    // when missing, so a sibling program reads the test's command line with its own job asked
    // for. --help, --version and an option not understood are answered here: on a terminal
    // before a window system is asked for (Windows has none: there a box does it).
    ProgramStart(int &argc, char **argv, const QString &ownMode = QString());
    ~ProgramStart();
    ProgramStart(const ProgramStart &) = delete;
    ProgramStart &operator=(const ProgramStart &) = delete;

    // The program has ended here (help, version, an error told): main returns exitCode().
    bool ended() const { return status >= 0; }
    int exitCode() const { return status; }
    const StartOptions &options() const { return parsed.options; }

    // The machine's settings and the working folder the run starts from. Null, with the reason
    // told and exitCode() set, when the program cannot start: settings that cannot be trusted
    // open nothing.
    std::unique_ptr<Session> session();

    // Says on the terminal and in a box why the program cannot start; returns the exit status 1.
    static int refuse(const QString &message);

private:
    int status = -1;
    CommandLine::Parsed parsed;
    // In the order they are made; gone in the reverse, so the player's sound is let go while
    // Qt's sound machinery still exists.
    std::unique_ptr<QApplication> application;
    std::unique_ptr<DanishTexts> danish;
    std::unique_ptr<VoicePlayer> player;
};
