#!/usr/bin/env bash
# Each process holds one copy of every part of Skrivlo: the sound and print module links Qt and
# the system only and defines none of the programs' classes, and no program links the module
# (it is loaded) or another program's code.
# Usage: check_programs.sh <build folder>
set -uo pipefail
build=$1
module=$build/skrivlo_devices.so
failed=0
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
# The classes with a meta-object that a binary defines.
classes() { nm -C --defined-only "$1" | sed -n 's/.* \([A-Za-z_:]*\)::staticMetaObject$/\1/p' | grep -v '^Q' | sort -u; }

for library in $(needed "$module"); do
    [[ $library =~ ^(libQt6[A-Za-z]+\.so\.6|libstdc\+\+\.so\.6|libgcc_s\.so\.1|libc\.so\.6|libm\.so\.6)$ ]] ||
        { echo "the module links $library"; failed=1; }
done
own=$(classes "$module")
[ "$own" = "DevicesPlugin" ] || { echo "the module defines the classes: $own"; failed=1; }
for program in skrivlo skrivlo-resultater skrivlo-indtal; do
    needed "$build/$program" | grep -q skrivlo && { echo "$program links $(needed "$build/$program" | grep skrivlo)"; failed=1; }
    [ -n "$(classes "$build/$program")" ] || { echo "$program has no classes of its own"; failed=1; }
done
# The test's window is the test's alone; the teacher's view and the studio are not in the test.
classes "$build/skrivlo-resultater" | grep -qx MainWindow && { echo "skrivlo-resultater holds the test's window"; failed=1; }
classes "$build/skrivlo-indtal" | grep -qx TeacherView && { echo "skrivlo-indtal holds the teacher's view"; failed=1; }
classes "$build/skrivlo" | grep -qxE 'TeacherView|StudioWindow' && { echo "skrivlo holds a sibling's window"; failed=1; }
exit $failed
