#!/usr/bin/env bash
# Makes the .deb from a build folder as README says, then checks its files, its dependencies
# and lintian's verdict (errors fail; warnings are listed).
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$build"
if ! cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
deb=$(echo "$out"/skrivlo_*.deb)
[ -f "$deb" ] || { echo "cpack made no skrivlo_*.deb"; cat "$out/cpack.log"; exit 1; }

files=$(dpkg-deb --contents "$deb" | awk '{print $6}')
failed=0
for path in usr/bin/skrivlo \
        usr/share/applications/dk.skrivlo.Skrivlo.desktop \
        usr/share/applications/dk.skrivlo.Skrivlo.Indtal.desktop \
        usr/share/metainfo/dk.skrivlo.Skrivlo.metainfo.xml \
        usr/share/icons/hicolor/64x64/apps/skrivlo.png \
        usr/share/icons/hicolor/128x128/apps/skrivlo.png \
        usr/share/icons/hicolor/scalable/apps/skrivlo.svg \
        usr/share/skrivlo/sounds/welcome.wav usr/share/skrivlo/sounds/80.wav \
        usr/share/doc/skrivlo/copyright; do
    grep -qx "\./$path" <<<"$files" || { echo "not in the package: /$path"; failed=1; }
done
recordings=$(grep -c '^\./usr/share/skrivlo/sounds/[^/]*\.wav$' <<<"$files" || true)
[ "$recordings" -eq 84 ] || { echo "the package holds $recordings recordings, not 84"; failed=1; }

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6multimedia6 libqt6widgets6 libqt6printsupport6 qt6-translations-l10n; do
    grep -q "\b$package\b" <<<"$depends" || { echo "Depends lacks $package: $depends"; failed=1; }
done
grep -q pulseaudio <<<"$(dpkg-deb --field "$deb" Recommends)" || { echo "no sound server recommended"; failed=1; }

echo "lintian $(basename "$deb"):"
lintian --fail-on error "$deb" || { echo "lintian reports errors"; failed=1; }
exit $failed
