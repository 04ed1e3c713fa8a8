#!/usr/bin/env bash
# Makes the .deb from a build folder as docs/packaging.md says and checks its files, its dependencies
# and lintian's verdict (errors fail; warnings are printed).
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$1"
cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/skrivlo_*.deb)
files=$(dpkg-deb --contents "$deb" | awk '{print $6}')
failed=0
for path in bin/skrivlo bin/skrivlo-resultater bin/skrivlo-indtal share/applications/dk.skrivlo.Skrivlo.desktop share/applications/dk.skrivlo.Skrivlo.Indtal.desktop \
        share/applications/dk.skrivlo.Skrivlo.Resultater.desktop \
        share/metainfo/dk.skrivlo.Skrivlo.metainfo.xml share/icons/hicolor/{64x64,128x128}/apps/skrivlo.png \
        share/icons/hicolor/scalable/apps/skrivlo.svg share/doc/skrivlo/copyright \
        share/skrivlo/vejledning/{vejledning,it,databeskyttelse}.html share/skrivlo/vejledning/billeder/diktat1.png \
        share/doc/skrivlo/vejledning; do
    grep -qx "\./usr/$path" <<<"$files" || { echo "not in the package: /usr/$path"; failed=1; }
done
recordings=$(grep -c '^\./usr/share/skrivlo/sounds/[^/]*\.wav$' <<<"$files" || true)
[ "$recordings" -eq 84 ] || { echo "the package holds $recordings recordings, not 84"; failed=1; }
fields=$(dpkg-deb --field "$deb" Depends Recommends)
for package in libqt6multimedia6 libqt6widgets6 qt6-translations-l10n pulseaudio; do
    grep -qw "$package" <<<"$fields" || { echo "neither Depends nor Recommends names $package"; failed=1; }
done
lintian --fail-on error "$deb" || { echo "lintian reports errors"; failed=1; }
exit $failed
