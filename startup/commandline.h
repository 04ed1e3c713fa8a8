#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do at start. Without options it behaves as it always did:
// the test, with its files in the working directory.
struct StartOptions
{
    QString workingFolder; // absolute path of the working folder: this PC's own files
    QString classFolder;   // absolute path from --klassemappe, or empty
    bool recordingMode = false; // the teacher records the texts instead of running the test
    bool newPassword = false;   // IT sets the school's password, and nothing else happens
    bool teacherView = false;   // the teacher's view of the class's results
};

namespace CommandLine {

enum class Outcome {
    Run,     // options are in StartOptions
    Help,    // text is the help to print
    Version, // text is the version line to print
    Error    // text says in Danish what is wrong
};

struct Parsed
{
    Outcome outcome = Outcome::Run;
    StartOptions options;
    QString text;
};

// main's argv as the parser reads it, program name first.
QStringList arguments(int argc, char **argv);

// Reads arguments (argv, program name first) without printing or exiting, so the caller
// decides how to show help or an error.
Parsed parse(const QStringList &arguments);

} // namespace CommandLine
