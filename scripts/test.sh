#!/usr/bin/env bash
# Sets up, builds both trees and runs every test: the native tests under
# sanitizers, then the Win32 tests under Wine on a private display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$(nproc)") || status=1

. scripts/wine_env.sh
trap wine_env_stop EXIT
wine_env_start "$PWD/build/cross"
echo "== Wine tests"
(cd build/cross && ctest --output-on-failure --timeout 300) || status=1

wine_env_stop
trap - EXIT

echo "== end-to-end tests (real input on a private display)"
bash tests/e2e/run.sh build/cross 2>&1 | tee build/cross/e2e.log || status=1

# Fuzzing: each platform-free target a few seconds under libFuzzer and the
# sanitizers (the longer run is scripts/reliability.sh).
echo "== fuzz"
mkdir -p build/fuzz
bash fuzz/run.sh --seconds 4 | tee build/fuzz/summary.log || status=1

echo "== summary"
for tree in native cross; do
    log="build/$tree/Testing/Temporary/LastTest.log"
    if [ -f "$log" ]; then
        passed=$(grep -c '^Test Passed' "$log" || true)
        failed=$(grep -c '^Test Failed' "$log" || true)
        echo "$tree: $passed passed, $failed failed"
    fi
done
grep -E '^e2e: [0-9]+ passed, [0-9]+ failed$' build/cross/e2e.log || echo "e2e: 0 passed, 1 failed"

tail -n 1 build/fuzz/summary.log 2>/dev/null || echo "fuzz: 0 passed, 1 failed"
exit $status
