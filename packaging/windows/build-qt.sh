#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64) from Debian's own source packages of the host's Qt
# version, once per machine: qtbase (Core, Gui, Widgets, PrintSupport, Concurrent, Network, Test) and
# qtmultimedia with its Windows Media Foundation backend. The host's moc, rcc, uic and qsb serve
# the build (QT_HOST_PATH=/usr). Prints the installed folder as its last line.
#
# Where: $SKRIVLO_QT_MINGW, else ~/.cache/skrivlo/qt-<version>-mingw, outside the repository.
# About 25-35 minutes on 2 cores the first time; afterwards it returns at once.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# Also the deb-src entry that apt-get source needs.
bash "$root/scripts/install-deps.sh" --windows

# The same version as the host's tools, or moc's output would not fit the libraries.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
version=${host_version%%+*}; version=${version%%-*}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/skrivlo
prefix=${SKRIVLO_QT_MINGW:-$cache/qt-$version-mingw}
work=$prefix-build

# The mends and the toolchain are what the result depends on beyond the version.
stamp=$( (cat "$here/mingw64.cmake" "$here"/patches/*.patch) | sha256sum | cut -c1-16)
if [ -f "$prefix/skrivlo-stamp" ] && [ "$(cat "$prefix/skrivlo-stamp")" = "$stamp" ]; then
    echo "Qt $version for MinGW is ready in $prefix"
    echo "$prefix"
    exit 0
fi

log() { echo "build-qt.sh: $(date -u +%H:%M:%S) $*"; }
slow=(nice -n 19)
command -v ionice >/dev/null && slow+=(ionice -c 3)

rm -rf "$prefix"
mkdir -p "$work" "$prefix"
cd "$work"
mm_version=$(dpkg-query -W -f='${Version}' qt6-multimedia-dev 2>/dev/null || true)
if [ ! -d qtbase ]; then
    log "fetching the sources of qt6-base $host_version"
    rm -rf src && mkdir src
    (cd src && apt-get source -q qt6-base="$host_version" >/dev/null)
    mv src/qt6-base-*/ qtbase
    for p in "$here"/patches/qtbase-*.patch; do patch -d qtbase -p1 --forward --quiet < "$p"; done
fi
if [ ! -d qtmultimedia ]; then
    log "fetching the sources of qt6-multimedia ${mm_version:-(newest)}"
    rm -rf src && mkdir src
    (cd src && apt-get source -q "qt6-multimedia${mm_version:+=$mm_version}" >/dev/null)
    mv src/qt6-multimedia-*/ qtmultimedia
    for p in "$here"/patches/qtmultimedia-*.patch; do patch -d qtmultimedia -p1 --forward --quiet < "$p"; done
fi
rm -rf src

# Qt keeps the toolchain file's path in its qt.toolchain.cmake: a copy beside Qt outlives the
# repository it came from.
cp -p "$here/mingw64.cmake" "$prefix/mingw64.cmake"

# Debian's +dfsg source lacks the bundled SQLite and Wintab: no SQL, no tablet events. The other
# bundled libraries are used, so that only Windows' own DLLs are needed beside Qt's.
log "configuring qtbase"
"${slow[@]}" cmake -G Ninja -S qtbase -B build-qtbase \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_testlib=ON -DFEATURE_concurrent=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DINPUT_openssl=no > configure-qtbase.log 2>&1 ||
    { tail -40 configure-qtbase.log; exit 1; }
log "building qtbase (about 22 minutes on 2 cores)"
"${slow[@]}" cmake --build build-qtbase --parallel "$(nproc)" > build-qtbase.log 2>&1 ||
    { grep -B2 -A20 'FAILED' build-qtbase.log | head -60; exit 1; }
cmake --install build-qtbase > install-qtbase.log

# The Media Foundation libraries are looked for by their Windows names (Mf, Propsys, ...);
# MinGW-w64's are lower case, so they are named here.
lib=/usr/x86_64-w64-mingw32/lib
wmf=()
for name in strmiids amstrmid dmoguids uuid msdmo ole32 oleaut32 mf mfuuid mfplat mfcore propsys; do
    wmf+=("-DWMF_${name^^}_LIBRARY=$lib/lib$name.a")
done
log "configuring qtmultimedia"
"${slow[@]}" "$prefix/bin/qt-cmake" -G Ninja -S qtmultimedia -B build-qtmultimedia \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DQt6ShaderTools_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6ShaderTools \
    -DFEATURE_ffmpeg=OFF -DFEATURE_spatialaudio=OFF "${wmf[@]}" > configure-qtmultimedia.log 2>&1 ||
    { tail -40 configure-qtmultimedia.log; exit 1; }
log "building qtmultimedia (about 3 minutes)"
"${slow[@]}" cmake --build build-qtmultimedia --parallel "$(nproc)" > build-qtmultimedia.log 2>&1 ||
    { grep -B2 -A20 'FAILED' build-qtmultimedia.log | head -60; exit 1; }
cmake --install build-qtmultimedia > install-qtmultimedia.log

# Qt's Danish catalogue is the same file on every platform.
bash "$root/scripts/install-deps.sh"
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_da.qm "$prefix/translations/"

echo "$stamp" > "$prefix/skrivlo-stamp"
cd /
[ -n "${SKRIVLO_KEEP_QT_BUILD:-}" ] || rm -rf "$work"
log "Qt $version for MinGW is installed in $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
