#!/usr/bin/env bash
# Sets up, builds and runs the meter in the host program. On the user's
# display it runs live until Ctrl+C (or --seconds); without a display it runs
# on a private Xvfb and saves a screenshot under out/.
#   scripts/run.sh [--skin NAME] [--config FILE.ini] [--seconds N] [--out DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
skin=default
config=""
seconds=""
out="$root/out"
while [ $# -gt 0 ]; do
    case "$1" in
    --skin) skin="$2"; shift 2 ;;
    --config) config="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
    *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
done

bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/cross -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/cross -j "$jobs" --target vorlamet_host >/dev/null

if [ -z "$config" ]; then
    config=$(ls "$root/skins/$skin"/*.ini 2>/dev/null | head -n 1 || true)
    [ -n "$config" ] || { echo "run: no skin named $skin under skins/" >&2; exit 2; }
fi
config=$(realpath "$config")

live=1
[ -n "${DISPLAY:-}" ] || live=0
. scripts/wine_env.sh
trap wine_env_stop EXIT
wine_env_start "$root/build/cross"

args=(--config "Z:$config")
if [ "$live" = 1 ]; then
    [ -n "$seconds" ] && args+=(--seconds "$seconds")
    echo "run: Vorlamet on $DISPLAY with $config (Ctrl+C ends it)"
    (cd build/cross/bin && wine ./vorlamet_host.exe "${args[@]}")
else
    mkdir -p "$out"
    shot="$out/screenshot.png"
    args+=(--seconds "${seconds:-6}" --screenshot "Z:$shot")
    echo "run: Vorlamet on a private display ($DISPLAY) with $config"
    (cd build/cross/bin && wine ./vorlamet_host.exe "${args[@]}")
    echo "run: screenshot saved to $shot"
fi
