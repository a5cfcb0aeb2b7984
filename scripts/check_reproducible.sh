#!/usr/bin/env bash
# One library (plasmyr.dll) built from two copies of the sources at paths of
# different lengths, one after the other, the second in another time zone and
# with another umask: the two files are the same, byte for byte, as the linker
# makes them and stripped as the release strips them. (The whole kit:
# scripts/release.sh --verify.)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/source_date.sh"
SOURCE_DATE_EPOCH="$(source_date_epoch "$root")"
export SOURCE_DATE_EPOCH
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
one="$work/a/vorlamet"
two="$work/another/much/longer/path/to/vorlamet"
build() {
    mkdir -p "$1"
    tar -C "$root" --exclude=./build --exclude=./out --exclude=./.git -c . | tar -x -C "$1"
    cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-i686.cmake" \
        -DCMAKE_DISABLE_FIND_PACKAGE_Python=ON >/dev/null # GoogleTest's, slow and not needed here
    cmake --build "$1/build" --target plasmyr >/dev/null
    i686-w64-mingw32-strip -o "$1/plasmyr-stripped.dll" "$1/build/bin/plasmyr.dll"
}
build "$one"
(umask 077 && TZ=Pacific/Kiritimati build "$two")
status=0
for f in build/bin/plasmyr.dll plasmyr-stripped.dll; do
    cmp "$one/$f" "$two/$f" || status=1
done
[ "$status" = 0 ] && echo "check_reproducible: plasmyr.dll built in two folders is the same"
exit $status
