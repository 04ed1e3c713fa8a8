#pragma once

// Marks on standard error for the benchmark in bench/: when a window and each named widget
// were first painted, when Return was pressed, when a word field got the focus, and what
// the code marks itself. Only a build with -DSKRIVLO_TIMING_MARKS=ON has any of it; in
// every other build TIMING_MARK expands to nothing.
//
// One line per mark: "skrivlo-mark <CLOCK_MONOTONIC in ns> <what> <count> <name>", where
// count is the number of visible widgets of a painted window and 0 otherwise.

#ifdef SKRIVLO_TIMING_MARKS

#include <QString>

#include <functional>

namespace TimingMarks {

// Watches the application from now on; observer, if given, hears every mark as it is made.
void install(std::function<void(const QString &what, const QString &name)> observer = {});
void mark(const char *what, const QString &name = QString(), int count = 0);

} // namespace TimingMarks

#define TIMING_MARK(what) TimingMarks::mark(what)

#else

#define TIMING_MARK(what) \
    do {                  \
    } while (false)

#endif
