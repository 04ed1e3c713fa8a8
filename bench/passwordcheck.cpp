// One check of a school password as the program makes it: the class key unwrapped from a line
// that KeyWrap wrapped at the school's cost. Not a floor: the benchmark prints its time beside
// the rows. Prints "cost <passes> <KiB>", then "ms <wall time> <CPU time>" for each run
// (argument: runs, 7); on a loaded machine the two differ.

#include "sealing/classkey.h"
#include "sealing/keywrap.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    const QString password = QStringLiteral("kanelsnegle med kardemomme");
    const std::shared_ptr<const ClassKey> key = ClassKey::generate();
    const QString line = key ? KeyWrap::wrap(*key, password) : QString();
    if (line.isEmpty()) {
        std::fprintf(stderr, "libsodium cannot work here\n");
        return 1;
    }
    const KeyWrap::Cost cost = KeyWrap::costOf(line);
    std::printf("cost %llu %llu\n", static_cast<unsigned long long>(cost.passes),
                static_cast<unsigned long long>(cost.memoryKiB));
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t began = std::clock();
        const bool opened = KeyWrap::unwrap(line, password) != nullptr;
        const double cpu = double(std::clock() - began) / CLOCKS_PER_SEC;
        const qint64 elapsed = timer.nsecsElapsed();
        if (!opened) {
            std::fprintf(stderr, "the password did not open its own line\n");
            return 1;
        }
        std::printf("ms %.1f %.1f\n", elapsed / 1e6, cpu * 1e3);
    }
    return 0;
}
