#!/usr/bin/env bash
# The host programs built at -j 8, twice, each time from a missing icon: both
# programs build at once, the icon is made once (one target makes it; two
# would write it while the other's windres reads it) and the build passes.
# The rest of the kit is built first at -j 2 in a private tree kept between
# runs, so that only the icon and the two programs build at -j 8.
#   tests/scripts/parallel_build_test.sh TREE
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
tree="$1"
if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$tree" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_DISABLE_FIND_PACKAGE_Python=ON >/dev/null || exit 1
fi
cmake --build "$tree" -j 2 --target vorlamet_host_parts Vorlamet tolvric plasmyr >/dev/null ||
    exit 1

failures=0
for round in 1 2; do
    rm -f "$tree/shell/kit/vorlamet.ico"
    find "$tree/shell/kit/CMakeFiles" -name 'vorlamet.rc.*' -delete
    log="$tree/parallel-build-$round.log"
    # The folder's own targets, the two programs among them, side by side.
    make -C "$tree/shell/kit" -j 8 >"$log" 2>&1
    status=$?
    made=$(grep -c 'Generating vorlamet.ico' "$log")
    if [ "$status" -ne 0 ] || [ "$made" -ne 1 ]; then
        echo "FAIL round $round: status $status, the icon made $made times (wanted 0 and 1):"
        grep -iE 'error|vorlamet\.ico' "$log"
        failures=$((failures + 1))
    else
        echo "ok   round $round: both programs built at -j 8, the icon made once"
    fi
done
[ "$failures" -eq 0 ]
