#pragma once

#include "startup/commandline.h"

#include <QStringList>

#include <memory>

class DanishTexts;
class QApplication;
class QString;
class Session;

// What the three programs (the test, the teacher's view, the recording studio) do alike before
// their first window, in the order main calls it.
namespace ProgramStart {

// Names the program (name and version, for --version and the dialogs) and returns its
// arguments; ownMode ("--resultater", "--indtal") is added when missing, so a sibling program
// reads the same command line as the test, with its own job asked for.
QStringList identify(int argc, char *argv[], const QString &ownMode = QString());

// --help, --version and an option not understood, answered on a terminal before a window
// system is asked for (Windows has no terminal: there the box does it). What main returns, or -1.
int answeredInTerminal(int argc, char *argv[], const QStringList &arguments);

// The look (Plastique where the toolkit has it, else Fusion, with the focus ring) and Qt's
// own texts in Danish; danish must live as long as the application. A benchmark build's
// timing marks start here too.
void dress(QApplication &application, DanishTexts &danish);

// The command line read once more, now that Qt's errors are Danish. *exitCode is set (and the
// help, version or error told) when the program ends here; -1 otherwise.
CommandLine::Parsed parse(const QStringList &arguments, int *exitCode);

// The machine's settings and the working folder the run starts from. Null, with *exitCode and
// the reason told, when the program cannot start: settings that cannot be trusted open nothing.
std::unique_ptr<Session> session(const StartOptions &options, int *exitCode);

// Says on the terminal and in a box why the program cannot start; returns the exit status 1.
int refuse(const QString &message);

} // namespace ProgramStart
