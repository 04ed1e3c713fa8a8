#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
    cmake g++ make ninja-build
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    librsvg2-bin icoutils
    espeak-ng sox fonts-dejavu-core
    python3
)
if [ "${1:-}" = "--test" ]; then
    packages+=(
        xvfb xauth openbox dbus-daemon x11-xkb-utils x11-utils xdotool imagemagick
        pulseaudio pulseaudio-utils poppler-utils python3-numpy
        desktop-file-utils appstream lintian dpkg-dev file
        samba smbnetfs fuse
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
