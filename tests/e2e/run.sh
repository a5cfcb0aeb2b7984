#!/usr/bin/env bash
# End-to-end tests of the meter window under Wine on a private X display.
# Usage: tests/e2e/run.sh [BUILD_DIR] [test names...]   (BUILD_DIR default build/cross)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build/cross}"
shift || true
. scripts/wine_env.sh
wine_require e2e
trap wine_env_stop EXIT
unset DISPLAY # always a private display: the tests move the pointer
wine_env_start "$PWD/$build"
only=()
[ $# -gt 0 ] && only=(--only "$@")
python3 tests/e2e/window_e2e.py "$build/bin" --artifacts "$PWD/$build/e2e" "${only[@]}"
