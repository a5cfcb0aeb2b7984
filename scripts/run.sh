#!/usr/bin/env bash
# Sets up, builds and runs the meter in the host program. On the user's
# display it runs live until Ctrl+C (or --seconds); without a display it runs
# on a private Xvfb for --seconds (10), saves a frame of the screen every
# second under out/frames/, an animation of the meter, and a screenshot.
# The meter sits on the host's drawn wallpaper (--demo-desktop), as in the
# pictures of the README; --real-desktop leaves the display's own desktop.
# --properties opens the settings dialog as soon as the meter runs.
#   scripts/run.sh [--skin NAME] [--config FILE.ini] [--seconds N] [--out DIR]
#                  [--real-desktop] [--properties]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
skin=default
config=""
seconds=""
out="$root/out"
properties=()
desktop=(--demo-desktop)
while [ $# -gt 0 ]; do
    case "$1" in
    --skin) skin="$2"; shift 2 ;;
    --config) config="$(realpath -m "$2")"; shift 2 ;; # from where it was typed
    --seconds) seconds="$2"; shift 2 ;;
    --out) out="$(realpath -m "$2")"; shift 2 ;;
    --properties) properties=(--properties); shift ;;
    --real-desktop) desktop=(); shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
done
cd "$root"

bash scripts/setup.sh
. scripts/wine_env.sh
wine_require run
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
trap wine_env_stop EXIT
wine_env_start "$root/build/cross"

args=(--config "Z:$config" "${desktop[@]}" "${properties[@]}")
if [ "$live" = 1 ]; then
    [ -n "$seconds" ] && args+=(--seconds "$seconds")
    echo "run: Vorlamet on $DISPLAY with $config (Ctrl+C ends it)"
    (cd build/cross/bin && wine ./vorlamet_host.exe "${args[@]}")
else
    seconds=${seconds:-10}
    mkdir -p "$out/frames"
    rm -f "$out"/frames/frame-*.png
    shot="$out/screenshot.png"
    args+=(--seconds "$seconds" --screenshot "Z:$shot")
    echo "run: Vorlamet on a private display ($DISPLAY) with $config for ${seconds}s"
    (cd build/cross/bin && wine ./vorlamet_host.exe "${args[@]}") &
    host=$!
    # One frame of the whole screen per second while the host runs.
    n=0
    while kill -0 "$host" 2>/dev/null && [ "$n" -lt $((seconds + 10)) ]; do
        sleep 1
        n=$((n + 1))
        import -window root "$(printf '%s/frames/frame-%02d.png' "$out" "$n")" 2>/dev/null || true
    done
    wait "$host"
    # The meter's own corner of the screen, still and animated.
    x=$(sed -n 's/^X=\([-0-9]*\).*/\1/p' "$config" | head -n 1)
    y=$(sed -n 's/^Y=\([-0-9]*\).*/\1/p' "$config" | head -n 1)
    skinfile=$(sed -n 's/^Skin=\(.*\)$/\1/p' "$config" | tr -d '\r' | head -n 1)
    size=$(cd "$(dirname "$config")" && identify -format '%wx%h' "$skinfile" 2>/dev/null || echo 240x140)
    w=$(( ${size%x*} + 40 )); h=$(( ${size#*x} + 40 ))
    x=$(( ${x:-0} > 20 ? ${x:-0} - 20 : 0 )); y=$(( ${y:-0} > 20 ? ${y:-0} - 20 : 0 ))
    crop="${w}x${h}+${x}+${y}"
    frames=("$out"/frames/frame-*.png)
    if [ -e "${frames[0]}" ]; then
        convert -delay 100 -loop 0 "${frames[@]}" -crop "$crop" +repage "$out/meter.gif" || true
    fi
    [ -f "$shot" ] && convert "$shot" -crop "$crop" +repage "$out/screenshot-meter.png" || true
    echo "run: screenshot saved to $shot (the meter alone: $out/screenshot-meter.png)"
    echo "run: ${#frames[@]} frames, one a second, in $out/frames/; animated: $out/meter.gif"
fi
