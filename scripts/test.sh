#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite, the real-window
# journeys (label e2e) included; then the widget tests once more, built with
# AddressSanitizer and UndefinedBehaviorSanitizer (in build-sanitize/); then the file readers'
# fuzzers for a short while each, built with clang (in build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh --test
bash scripts/build.sh
# Four at once on two cores: the journeys (label e2e) mostly wait; see tests/e2e/CMakeLists.txt.
(cd build && ctest --output-on-failure --timeout 300 --parallel 4 "$@")

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build-sanitize "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DSKRIVLO_SANITIZE=ON
cmake --build build-sanitize --target widget_tests --parallel "$(nproc)"
cd build-sanitize
# Leak checking stays on; only the system libraries' own leaks are suppressed.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest -L widget -E "tst_recordings|tst_recordingnotice" --output-on-failure --timeout 300 --parallel 2

# The fuzzers (tests/fuzz), from the corpus kept in the repository.
cd "$root"
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKRIVLO_FUZZ=ON
cmake --build build-fuzz --target fuzz_targets --parallel "$(nproc)"
(cd build-fuzz && ctest -L fuzz --output-on-failure --parallel 2)
