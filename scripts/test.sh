#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite, the real-window
# journeys (label e2e) included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
bash scripts/build.sh
cd build
ctest --output-on-failure --timeout 300 --parallel 2 "$@"
