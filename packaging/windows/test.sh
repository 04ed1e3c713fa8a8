#!/usr/bin/env bash
# Runs the Wine journey (tests/e2e/journey_windows.py) on the installer that build.sh made:
# a fresh Wine prefix under Xvfb with openbox and a PulseAudio null sink, install, the whole
# test, uninstall. Screenshots in build-windows/journey/windows/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build-windows
bash "$root/scripts/install-deps.sh" --windows-test
shopt -s nullglob
setups=("$out"/skrivlo-*-setup.exe)
[ ${#setups[@]} -eq 1 ] || { echo "test.sh: no single installer in $out: run bash packaging/windows/build.sh" >&2; exit 1; }
status=0
python3 -B "$root/tests/e2e/journey_windows.py" --program "${setups[0]}" --artifacts "$out/journey" \
    --sounds "$out/Skrivlo/sounds" || status=$?
# This script installs Wine itself, so a skip (77) is a failure here too.
[ $status -eq 0 ] || { echo "windows: 0 passed, 1 failed"; exit 1; }
echo "windows: 1 passed, 0 failed"
