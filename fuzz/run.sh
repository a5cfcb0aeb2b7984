#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for a bounded time.
# Prints one line per target (executions, coverage, result) and a summary
# line "fuzz: N passed, M failed"; exits 1 when a target crashed or hung.
#   bash fuzz/run.sh [--seconds N]     (default 5 seconds per target)
# The corpus of each target grows in build/fuzz/corpus/<target>; a failing
# input is kept in build/fuzz/artifacts/.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=5
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    *) echo "usage: bash fuzz/run.sh [--seconds N]" >&2; exit 2 ;;
    esac
done

out=build/fuzz
if ! { CXX=clang++ cmake -S fuzz -B "$out" -DCMAKE_BUILD_TYPE=None >/dev/null &&
    cmake --build "$out" -j "$(nproc)" >"$out/build.log" 2>&1; }; then
    cat "$out/build.log" >&2
    echo "fuzz: 0 passed, 1 failed (build)"
    exit 1
fi
mkdir -p "$out/artifacts"

passed=0
failed=0
total_runs=0
crashes=0
hangs=0
printf '%-20s %12s %9s  %s\n' target executions coverage result
for exe in "$out"/*_fuzz; do
    name=$(basename "$exe" _fuzz)
    corpus="$out/corpus/$name"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
        -artifact_prefix="$out/artifacts/$name-")
    [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
    log="$out/$name.log"
    # The outer bound catches a target that stops answering altogether.
    timeout --kill-after=10 $((seconds + 60)) "$exe" "${options[@]}" "$corpus" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    result=ok
    if [ $rc -eq 124 ] || [ $rc -eq 137 ] || grep -q 'ERROR: libFuzzer: timeout' "$log"; then
        result=hang
        hangs=$((hangs + 1))
    elif [ $rc -ne 0 ]; then
        result=crash
        crashes=$((crashes + 1))
    fi
    total_runs=$((total_runs + ${runs:-0}))
    printf '%-20s %12s %9s  %s\n' "$name" "${runs:-?}" "${cov:-?}" "$result"
    if [ "$result" = ok ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        grep -E 'ERROR|runtime error|check failed|SUMMARY|Test unit written' "$log" | head -8 | sed 's/^/    /'
    fi
done
echo "fuzz totals: $total_runs executions, $crashes crashes, $hangs hangs"
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
