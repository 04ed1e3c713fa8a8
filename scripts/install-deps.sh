#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: apt-get runs only when a package (or, for --windows, the deb-src entry) is missing.
set -euo pipefail

sources=no
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
    clang libclang-rt-14-dev strace
)
for option in "$@"; do
    case $option in
        --test) packages+=("${test_packages[@]}") ;;
        # The cross compiler, the host's Qt tools a Qt for MinGW is built with (moc, rcc, uic, qsb),
        # what unpacks Debian's sources and makes libsodium's configure, and the installer's maker.
        --windows) packages+=(
            g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
            qt6-base-dev-tools qt6-shadertools-dev dpkg-dev autoconf automake libtool nsis zip
        ); sources=yes ;;
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
# Qt and libsodium for MinGW are built from Debian's own sources (apt-get source), which need a
# deb-src entry; it is copied from the system's own deb entries.
add_sources=no
[ "$sources" = no ] || grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ ||
    add_sources=yes
[ ${#missing[@]} -eq 0 ] && [ "$add_sources" = no ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Others may be installing on the same machine: wait for their locks rather than fail. apt-get
# waits for dpkg's lock itself; the package lists' lock it only reports, so update is tried again.
lock=(-o DPkg::Lock::Timeout=600)
update() {
    local output
    for _ in $(seq 60); do
        output=$($sudo apt-get "${lock[@]}" update -q 2>&1) && { echo "$output"; return 0; }
        grep -q 'Could not get lock' <<<"$output" || { echo "$output" >&2; return 1; }
        echo "install-deps.sh: apt-get runs elsewhere; waiting"
        sleep 10
    done
    echo "$output" >&2
    return 1
}
if [ "$add_sources" = yes ]; then
    echo "Adding a deb-src entry beside /etc/apt/sources.list.d/debian.sources"
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
fi
update
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
$sudo apt-get "${lock[@]}" install -y -q --no-install-recommends "${missing[@]}"
