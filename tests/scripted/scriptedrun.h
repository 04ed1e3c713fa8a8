#pragma once

class QString;
class Session;

// A learner's run without waits, for the journeys that start many copies at once: the main
// window (never shown) is filled from a JSON file and handed in page by page through the
// pages' own code, so every file is written as in a real test. Every box that comes up is
// closed, and its title printed. The script is named by the environment variable SKRIVLO_SCRIPTED_RUN;
// {"password": the teacher's, "details": [9 texts], "answers1": [20], "answers2": [60] or absent,
//  "handInAt": epoch milliseconds for the last hand-in}. A file without "details" only starts
// (and so sends the outbox) and ends.
namespace ScriptedRun {

constexpr const char *variable = "SKRIVLO_SCRIPTED_RUN";

// The exit status: 0 when the results page was reached, 2 for a script that cannot be read or
// whose password this PC does not accept: a script is no way around the teacher's password.
int run(Session &session, const QString &scriptPath);

} // namespace ScriptedRun
