#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in build/, where its recordings
# lie in sounds/ and the report results.html is written.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
exec ./skrivlo
