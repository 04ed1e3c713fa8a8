#!/usr/bin/env bash
# The Windows route, tried on Linux: packs a build's recordings and pictures, then builds the
# pictures of a second build from them with espeak-ng, sox, rsvg-convert and icotool replaced
# by programs that fail when called, up to the pictures compiled in (the widgets library's
# resource object, as Qt names it). Arguments: build folder, source folder, CMake generator.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/bin"
for tool in espeak-ng sox rsvg-convert icotool; do
    printf '#!/bin/sh\necho "%s was called" >&2\nexit 1\n' "$tool" >"$tmp/bin/$tool"
    chmod +x "$tmp/bin/$tool"
done
if ! { cmake --build "$build" --target skrivlo_assets &&
       PATH="$tmp/bin:$PATH" cmake -S "$2" -B "$tmp/build" -G "$3" -DBUILD_TESTING=OFF -DSKRIVLO_ASSETS="$build/assets" &&
       PATH="$tmp/bin:$PATH" cmake --build "$tmp/build" --target skrivlo_widgets_resources_1; } >"$tmp/log" 2>&1; then
    cat "$tmp/log"
    exit 1
fi
failed=0
[ "$(ls "$build"/sounds/*.wav | wc -l)" -eq 84 ] || { echo "the first build has not 84 recordings"; failed=1; }
for file in sounds/*.wav resources/images/{next,voice,pdf,print,skrivlo64,skrivlo-splash}.{png,raw} \
        resources/images/skrivlo64.ico packaging/skrivlo128.png; do
    for made in "$build"/$file; do
        cmp -s "$made" "$tmp/build/${made#"$build"/}" || { echo "not taken: ${made#"$build"/}"; failed=1; }
    done
done
exit $failed
