#!/usr/bin/env bash
# Sets up, builds both trees and runs every test: the native tests under
# sanitizers, then the Win32 tests under Wine on a private display. On a
# machine whose kernel cannot run 32-bit code the Wine parts are skipped, and
# said so; everything else still runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$(nproc)") || status=1

. scripts/wine_env.sh
wine_ok=0
wine_probe || wine_ok=$?
if [ "$wine_ok" -eq 1 ]; then
    echo "test: $WINE_PROBE_WHY" >&2
    status=1
fi
rm -f build/cross/Testing/Temporary/LastTest.log build/cross/e2e.log
if [ "$wine_ok" -eq 0 ]; then
    trap wine_env_stop EXIT
    wine_env_start "$PWD/build/cross"
    echo "== Wine tests"
    (cd build/cross && ctest --output-on-failure --timeout 300) || status=1
    wine_env_stop
    trap - EXIT

    echo "== end-to-end tests (real input on a private display)"
    bash tests/e2e/run.sh build/cross 2>&1 | tee build/cross/e2e.log || status=1
else
    # The checks of the cross tree that read files and run no 32-bit code.
    echo "== cross-tree checks without Wine"
    (cd build/cross && ctest --output-on-failure -L nowine) || status=1
fi

# Fuzzing: each platform-free target a few seconds under libFuzzer and the
# sanitizers (the longer run is scripts/reliability.sh).
echo "== fuzz"
mkdir -p build/fuzz
bash fuzz/run.sh --seconds 4 | tee build/fuzz/summary.log || status=1

# "N passed, M failed" from a tree's last ctest run.
counts() {
    local log="build/$1/Testing/Temporary/LastTest.log"
    [ -f "$log" ] || { echo "0 passed, 1 failed (no test log)"; return; }
    echo "$(grep -c '^Test Passed' "$log" || true) passed, $(grep -c '^Test Failed' "$log" || true) failed"
}
echo "== summary"
echo "native: $(counts native)"
if [ "$wine_ok" -eq 0 ]; then
    echo "cross: $(counts cross)"
    grep -E '^e2e: [0-9]+ passed, [0-9]+ failed$' build/cross/e2e.log || echo "e2e: 0 passed, 1 failed"
elif [ "$wine_ok" -eq 3 ]; then
    echo "cross: checks without Wine: $(counts cross)"
    echo "cross: skipped — $WINE_PROBE_WHY"
    echo "e2e: skipped — $WINE_PROBE_WHY"
else
    echo "cross: checks without Wine: $(counts cross)"
    echo "cross: FAILED — $WINE_PROBE_WHY"
    echo "e2e: FAILED — $WINE_PROBE_WHY"
fi
tail -n 1 build/fuzz/summary.log 2>/dev/null || echo "fuzz: 0 passed, 1 failed"
exit $status
