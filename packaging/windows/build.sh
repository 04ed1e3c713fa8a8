#!/usr/bin/env bash
# Cross-builds Skrivlo for 64-bit Windows on Debian and packs it, all in build-windows/:
#   Skrivlo/                          the program with Qt and the MinGW runtime beside it
#   skrivlo-<version>-windows.zip     that folder
#   skrivlo-<version>-setup.exe       the Danish installer (NSIS)
# Installs the packages it needs and builds Qt for MinGW first when this machine has none
# (build-qt.sh: about half an hour, once), and libsodium as a static library (build-sodium.sh). The recordings and pictures come from a Linux build
# (target skrivlo_assets), as on a Windows PC.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build-windows
log() { echo "build.sh: $(date -u +%H:%M:%S) $*"; }

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/install-deps.sh" --windows
qt=$(bash "$here/build-qt.sh" | tail -n 1)
sodium=$(bash "$here/build-sodium.sh" | tail -n 1)
slow=(nice -n 10)

log "recordings and pictures (Linux build in $out/host)"
[ -f "$out/host/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
# Ninja's progress lines are dropped; a failed build still stops here, not with an old result.
quiet() { "$@" | { grep -v '^\[' || true; }; }
quiet "${slow[@]}" cmake --build "$out/host" --target skrivlo_assets

log "skrivlo.exe and skrivlo_devices.dll (cross build in $out/cross)"
# Qt's toolchain looks for libraries and headers only below its root folders: libsodium's folder
# becomes one of them (QT_ADDITIONAL_PACKAGES_PREFIX_PATH). An existing build folder is configured
# again and looks for libsodium anew, so that it takes this one.
sodium_args=(-DSodium_ROOT="$sodium" -DQT_ADDITIONAL_PACKAGES_PREFIX_PATH="$sodium")
if [ -f "$out/cross/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$out/cross" -USodium_INCLUDE_DIR -USodium_LIBRARY "${sodium_args[@]}" >/dev/null
else
    cmake -S "$root" -B "$out/cross" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
          -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSKRIVLO_ASSETS="$out/host/assets" \
          "${sodium_args[@]}" >/dev/null
fi
grep -qx "Sodium_LIBRARY:FILEPATH=$sodium/lib/libsodium.a" "$out/cross/CMakeCache.txt" ||
    { echo "build.sh: the cross build did not take the static libsodium in $sodium" >&2; exit 1; }
quiet "${slow[@]}" cmake --build "$out/cross"
[ -f "$out/cross/skrivlo.exe" ] || { echo "build.sh: the cross build made no skrivlo.exe" >&2; exit 1; }

log "deployment folder $out/Skrivlo"
dist=$out/Skrivlo
rm -rf "$dist"
cmake --install "$out/cross" --prefix "$dist" --strip >/dev/null
# Qt's plugins: the window system, the native style, sound (Media Foundation) and printing.
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll multimedia/windowsmediaplugin.dll \
        printsupport/*.dll; do
    for file in "$qt"/plugins/$plugin; do
        [ -f "$file" ] || continue
        mkdir -p "$dist/$(dirname "$plugin")"
        cp "$file" "$dist/$(dirname "$plugin")/"
    done
done
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' > "$dist/qt.conf"

# No windeployqt runs on Linux: each binary's imports are followed instead, through Qt's and
# MinGW's folders. What none of them holds is Windows' own.
cxx=x86_64-w64-mingw32-g++-posix
folders=("$qt/bin" "$(dirname "$($cxx -print-libgcc-file-name)")" /usr/x86_64-w64-mingw32/lib)
queue=("$dist"/*.exe "$dist"/*.dll "$dist"/*/*.dll)
declare -A seen=()
windows_own=()
while [ ${#queue[@]} -gt 0 ]; do
    binary=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r name; do
        key=${name,,}
        [ -z "${seen[$key]:-}" ] || continue
        seen[$key]=1
        found=$(find "${folders[@]}" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)
        if [ -z "$found" ]; then
            windows_own+=("$name")
        elif [ ! -e "$dist/$name" ]; then
            cp "$found" "$dist/$name"
            queue+=("$dist/$name")
        fi
    done < <(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p')
done
echo "Windows' own DLLs: ${windows_own[*]}"
# libsodium is linked in; a DLL of it would be missing on every PC.
for name in "${!seen[@]}"; do
    [[ $name != *sodium* ]] || { echo "build.sh: a binary imports $name; libsodium must be linked statically" >&2; exit 1; }
done
x86_64-w64-mingw32-strip --strip-unneeded "$dist"/*.dll "$dist"/*/*.dll

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/cross/CMakeCache.txt")
zip=$out/skrivlo-$version-windows.zip
setup=$out/skrivlo-$version-setup.exe
log "$(basename "$zip")"
rm -f "$zip"
(cd "$out" && zip -qr9 "$zip" Skrivlo)

log "$(basename "$setup")"
# The uninstaller removes exactly the files that were installed, and their folders if empty.
filelist=$out/nsis-files.nsh
(cd "$dist" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
 cd "$dist" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|') > "$filelist"
makensis -V2 -DVERSION="$version" -DDIST="$dist" -DOUTFILE="$setup" -DFILELIST="$filelist" \
    -DICON="$out/cross/resources/images/skrivlo64.ico" -DLICENSE="$root/LICENSE" "$here/skrivlo.nsi"
log "ready: $dist ($(du -sh "$dist" | cut -f1)), $(basename "$zip") ($(du -h "$zip" | cut -f1)), $(basename "$setup") ($(du -h "$setup" | cut -f1))"
