#!/usr/bin/env bash
# End-to-end tests of the meter window under Wine on private X displays: the
# tests of one monitor on a plain Xvfb, then those of two monitors on
# displays with two heads side by side (the main one left, then right).
# Usage: tests/e2e/run.sh [BUILD_DIR] [test names...]   (BUILD_DIR default build/cross)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build/cross}"
shift || true
. scripts/wine_env.sh
wine_require e2e
trap wine_env_stop EXIT
unset DISPLAY # always a private display: the tests move the pointer
only=()
[ $# -gt 0 ] && only=(--only "$@")
script=(python3 tests/e2e/run_e2e.py "$build/bin" --artifacts "$PWD/$build/e2e")
passed=0
failed=0
for display in one two main-right; do
    chosen="$("${script[@]}" --display "$display" --list)"
    if [ $# -gt 0 ]; then
        chosen="$(grep -xF -f <(printf '%s\n' "$@") <<<"$chosen" || true)"
    fi
    [ -n "$chosen" ] || continue
    case "$display" in
    one)
        wine_env_start "$PWD/$build"
        label="e2e on one monitor"
        ;;
    two)
        wine_env_start_heads "$PWD/$build" 1024x768 800x600
        label="e2e on two monitors"
        ;;
    main-right)
        wine_env_start_heads "$PWD/$build" 1024x768 '*800x600'
        label="e2e on two monitors, the main one on the right"
        ;;
    esac
    status=0
    "${script[@]}" --display "$display" --label "$label" "${only[@]}" |
        tee "$build/e2e_$display.log" || status=$?
    wine_env_stop
    summary="$(grep -E "^$label: [0-9]+ passed, [0-9]+ failed$" "$build/e2e_$display.log" || true)"
    if [ -z "$summary" ]; then
        failed=$((failed + 1))
        continue
    fi
    read -r p f < <(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/' <<<"$summary")
    passed=$((passed + p))
    failed=$((failed + f))
    [ "$status" -eq 0 ] || [ "$f" -gt 0 ] || failed=$((failed + 1))
done
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
