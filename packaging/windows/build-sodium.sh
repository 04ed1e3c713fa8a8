#!/usr/bin/env bash
# Builds libsodium for 64-bit Windows (MinGW-w64) as a static library, from Debian's own source
# package of the host's libsodium version, once per machine: skrivlo.exe then carries it inside
# and no libsodium DLL is handed out. Prints the installed folder as its last line.
#
# Where: $SKRIVLO_SODIUM_MINGW, else ~/.cache/skrivlo/libsodium-<version>-mingw, outside the
# repository. Under a minute on 2 cores the first time; afterwards it returns at once.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/install-deps.sh" --windows

# The same version as the Linux program's, with Debian's patches.
deb_version=$(dpkg-query -W -f='${Version}' libsodium-dev)
version=${deb_version%%-*}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/skrivlo
prefix=${SKRIVLO_SODIUM_MINGW:-$cache/libsodium-$version-mingw}
work=$prefix-build

# The compiler is the one mingw64.cmake names, so that the library and the program agree.
configure=(--host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix
           --prefix="$prefix" --disable-shared --enable-static)
stamp=$(echo "$deb_version ${configure[*]}" | sha256sum | cut -c1-16)
if [ -f "$prefix/skrivlo-stamp" ] && [ "$(cat "$prefix/skrivlo-stamp")" = "$stamp" ]; then
    echo "libsodium $version for MinGW is ready in $prefix"
    echo "$prefix"
    exit 0
fi

log() { echo "build-sodium.sh: $(date -u +%H:%M:%S) $*" >&2; }
slow=(nice -n 19)
command -v ionice >/dev/null && slow+=(ionice -c 3)

rm -rf "$prefix" "$work"
mkdir -p "$work/src"
cd "$work"
log "fetching the sources of libsodium $deb_version"
(cd src && apt-get source -q libsodium="$deb_version" >/dev/null)
mv src/libsodium-*/ libsodium
rm -rf src
cd libsodium

# Debian's source carries no configure script.
log "configuring"
{ "${slow[@]}" autoreconf -fi && "${slow[@]}" ./configure "${configure[@]}"; } > ../configure.log 2>&1 ||
    { tail -40 ../configure.log; exit 1; }
log "building"
"${slow[@]}" make -j"$(nproc)" > ../build.log 2>&1 || { grep -B2 -A20 -i 'error' ../build.log | head -60; exit 1; }
make install > ../install.log 2>&1 || { tail -20 ../install.log; exit 1; }
[ -f "$prefix/lib/libsodium.a" ] && [ -f "$prefix/include/sodium.h" ] ||
    { echo "build-sodium.sh: make install left no libsodium.a and sodium.h in $prefix" >&2; exit 1; }

echo "$stamp" > "$prefix/skrivlo-stamp"
cd /
[ -n "${SKRIVLO_KEEP_SODIUM_BUILD:-}" ] || rm -rf "$work"
log "libsodium $version for MinGW is installed in $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"
