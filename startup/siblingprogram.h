#pragma once

class QString;

// The teacher's view and the recording studio are programs of their own beside skrivlo, so
// that each process holds one copy of every part; "skrivlo --resultater" and "skrivlo --indtal"
// start them, for menus, shortcuts and scripts that ask the test program.
namespace SiblingProgram {

// The program the command line asks for instead of the test ("skrivlo-resultater",
// "skrivlo-indtal"), or empty.
QString asked(int argc, char **argv);

// Becomes the program name in the program's own folder, with the same arguments: on Linux the
// process is replaced (its id, signals and exit status stay those of the caller's), on Windows
// the program runs and its exit status is returned. -1 when it could not be started; needs a
// QCoreApplication.
int run(const QString &name);

} // namespace SiblingProgram
