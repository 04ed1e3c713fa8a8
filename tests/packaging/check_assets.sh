#!/usr/bin/env bash
# The Windows route, tried on Linux: pack the recordings and pictures of a build, then
# configure and build the pictures of a second build from them, with espeak-ng, sox,
# rsvg-convert and icotool replaced by programs that fail when called.
set -euo pipefail
build=$1 source=$2 generator=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --build "$build" --target skrivlo_assets >"$tmp/pack.log" 2>&1 || { cat "$tmp/pack.log"; exit 1; }

mkdir "$tmp/bin"
for tool in espeak-ng sox rsvg-convert icotool; do
    printf '#!/bin/sh\necho "%s was called: $*" >&2\nexit 1\n' "$tool" >"$tmp/bin/$tool"
    chmod +x "$tmp/bin/$tool"
done
export PATH="$tmp/bin:$PATH"
if ! { cmake -S "$source" -B "$tmp/build" -G "$generator" -DBUILD_TESTING=OFF -DSKRIVLO_ASSETS="$build/assets" &&
       cmake --build "$tmp/build" --target skrivlo_resources; } >"$tmp/build.log" 2>&1; then
    cat "$tmp/build.log"
    exit 1
fi

failed=0
count=0
for wav in "$build"/sounds/*.wav; do
    count=$((count + 1))
    cmp -s "$wav" "$tmp/build/sounds/$(basename "$wav")" || { echo "not taken: $(basename "$wav")"; failed=1; }
done
[ "$count" -eq 84 ] || { echo "the first build holds $count recordings, not 84"; failed=1; }
for picture in next.png voice.png pdf.png print.png skrivlo64.png skrivlo-splash.png skrivlo64.ico; do
    cmp -s "$build/resources/images/$picture" "$tmp/build/resources/images/$picture" ||
        { echo "not taken: $picture"; failed=1; }
done
cmp -s "$build/packaging/skrivlo128.png" "$tmp/build/packaging/skrivlo128.png" || { echo "not taken: skrivlo128.png"; failed=1; }
exit $failed
