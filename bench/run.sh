#!/usr/bin/env bash
# Builds Skrivlo with timing marks and the floor programs in build-bench/, then measures
# them side by side under Xvfb, openbox and a PulseAudio null sink and prints the table.
# Not part of the test suite. Arguments go to bench.py (--pairs N, --artifacts DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSKRIVLO_TIMING_MARKS=ON -DBUILD_TESTING=OFF
nice cmake --build build-bench
# The python that has numpy (a pyenv python may not).
python=python3
python3 -c 'import numpy' 2>/dev/null || python=/usr/bin/python3
exec "$python" -B bench/bench.py --program build-bench/skrivlo --floors build-bench/bench \
    --sounds build-bench/sounds --artifacts build-bench/bench/artifacts "$@"
