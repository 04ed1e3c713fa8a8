#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
    cmake g++ make ninja-build
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    librsvg2-bin icoutils
    espeak-ng sox fonts-dejavu-core
    python3 libsodium-dev pkg-config
)
test_packages=(
    xvfb xauth openbox dbus-daemon x11-xkb-utils x11-utils xdotool imagemagick
    pulseaudio pulseaudio-utils poppler-utils python3-numpy
    desktop-file-utils appstream lintian dpkg-dev file
    samba smbnetfs fuse faketime
)
for option in "$@"; do
    case $option in
        --test) packages+=("${test_packages[@]}") ;;
        # The cross compiler, the host's Qt tools a Qt for MinGW is built with (moc, rcc, uic, qsb),
        # and the installer's maker.
        --windows) packages+=(
            g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
            qt6-base-dev-tools qt6-shadertools-dev nsis zip
        ) ;;
        # Wine, and GStreamer's base plugins for Wine's resampler.
        --windows-test) packages+=(
            "${test_packages[@]}" wine wine64 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
        ) ;;
        *) echo "install-deps.sh: unknown option $option (--test, --windows, --windows-test)" >&2; exit 2 ;;
    esac
done

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
