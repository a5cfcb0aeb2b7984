#!/usr/bin/env bash
# The reliability figures: a longer fuzzing run of every platform-free
# target, the full bad-configuration matrix and the bad pictures (one host
# start per case), 200 start-stop cycles, and the soak of 100,000 update and
# 100,000 network ticks in both window modes. Prints executions per target,
# cases tried, crashes, hangs and the growth of GDI objects, private bytes
# and handles; exits 1 when anything crashed, hung, grew or failed.
#   bash scripts/reliability.sh [--fuzz-seconds N] [--ticks N] [--build-dir DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=20
ticks=100000
build=build/cross
while [ $# -gt 0 ]; do
    case "$1" in
    --fuzz-seconds) fuzz_seconds="$2"; shift 2 ;;
    --ticks) ticks="$2"; shift 2 ;;
    --build-dir) build="$2"; shift 2 ;;
    *) echo "usage: bash scripts/reliability.sh [--fuzz-seconds N] [--ticks N] [--build-dir DIR]" >&2
       exit 2 ;;
    esac
done
bash scripts/setup.sh || exit 1
. scripts/wine_env.sh
wine_require reliability
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" --target Vorlamet tolvric plasmyr vorlamet_host \
    reliability_lifecycle_test reliability_config_test reliability_soak_test >/dev/null || exit 1

status=0
mkdir -p build/fuzz
echo "== fuzzing, $fuzz_seconds s per target"
bash fuzz/run.sh --seconds "$fuzz_seconds" | tee build/fuzz/reliability.log
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1

trap wine_env_stop EXIT
wine_env_start "$PWD/$build"
log="$PWD/$build/reliability.log"
: >"$log"
run() { # a test program under Wine; its output goes to the log and the screen
    local program="$1"
    shift
    (cd "$build/bin" && env "$@" wine "./$program.exe") 2>&1 | tee -a "$log" |
        grep -E '^(configuration|combinations|pictures|lifecycle|soak)|FAILED|Failure'
    local codes=("${PIPESTATUS[@]}") # the program's own status, even when grep finds nothing
    [ "${codes[0]}" -eq 0 ] || status=1
}
echo "== bad configurations and pictures, one host start per case"
run reliability_config_test VORLAMET_CONFIG_MATRIX=full
echo "== lifecycle abuse"
run reliability_lifecycle_test VORLAMET_LIFECYCLE_CYCLES=200
echo "== soak, $ticks ticks of each kind per window mode"
run reliability_soak_test VORLAMET_SOAK_TICKS="$ticks"

echo "== reliability figures"
awk '$1 ~ /^[a-z_]+$/ && $4 ~ /^(ok|crash|hang)$/ {printf "fuzz %-15s %12s executions, coverage %s, %s\n", $1, $2, $3, $4}' \
    build/fuzz/reliability.log
grep '^fuzz totals' build/fuzz/reliability.log
cases=$(grep -hoE '^(configuration matrix \(full\)|combinations|pictures): [0-9]+ cases' "$log" |
    grep -oE '[0-9]+ cases' | awk '{s += $1} END {print s + 0}')
crashes=$(grep -hoE '[0-9]+ crashes' "$log" | awk '{s += $1} END {print s + 0}')
hangs=$(grep -hoE '[0-9]+ hangs' "$log" | awk '{s += $1} END {print s + 0}')
echo "configuration and picture cases tried: $cases; crashes: $crashes; hangs: $hangs"
grep -E '^(configuration|combinations|pictures|lifecycle|soak)' "$log"
growth=$(grep -hoE '\([+-][0-9]+\)' "$log" | tr -d '()+' | awk '$1 > 0 {n++} END {print n + 0}')
echo "soak figures that grew: $growth"
[ "$growth" -eq 0 ] || status=1
[ "$crashes" -eq 0 ] && [ "$hangs" -eq 0 ] || status=1
if [ $status -eq 0 ]; then echo "reliability: passed"; else echo "reliability: FAILED"; fi
exit $status
