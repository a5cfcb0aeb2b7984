#!/usr/bin/env bash
# Benchmarks, printed side by side with what they are compared against; it
# asserts nothing about time. In one run on one private display:
#   1. the platform-free kernels, natively, with Google Benchmark;
#   2. the real plug-in's update tick (layered and painted) and network tick
#      under Wine, sent back to back as WM_TIMER messages;
#   3. the floor: only the platform calls those ticks cannot avoid;
#   4. the peer: conky, an idle Wine program and our host, each alone for
#      BENCH_SECONDS;
#   5. the plug-in's private bytes and heap allocations over 10,000 ticks;
#   6. our host with its skin watcher on and off, while no file changes;
# and, to show where a tick's time goes, its single calls timed one by one.
# Settings: BENCH_TICKS (2000), BENCH_SECONDS (60), BENCH_WARMUP (5),
# BENCH_MEMORY_TICKS (10000).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
. scripts/wine_env.sh
wine_require bench

ticks=${BENCH_TICKS:-2000}
seconds=${BENCH_SECONDS:-60}
warmup=${BENCH_WARMUP:-5}
memory_ticks=${BENCH_MEMORY_TICKS:-10000}
jobs=$(nproc)

# Their own trees: optimised and without sanitizers.
cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release -DVORLAMET_BENCH=ON >/dev/null
cmake --build build/bench-native -j "$jobs" --target kernel_bench >/dev/null
cmake -S . -B build/bench-cross -DCMAKE_BUILD_TYPE=Release -DVORLAMET_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/bench-cross -j "$jobs" \
    --target Vorlamet tolvric plasmyr vorlamet_host tick_bench floor_bench parts_bench >/dev/null

log=$(mktemp)
show() { tee -a "$log" | grep -v '^RESULT'; }
bin=build/bench-cross/bin
# The painted mode: the default skin as a Desktop window (z-order 0).
sed 's/^Z-Order=.*/Z-Order=0/' "$bin/skins/default/vorlamet.ini" >"$bin/skins/default/bench_painted.ini"

echo "== machine: $(nproc) cores, $(uptime | sed 's/.*load/load/')"
echo "== 1. kernels, native (Google Benchmark, -O2, no sanitizers)"
build/bench-native/bench/kernel_bench --benchmark_min_time=0.2 2>&1 | grep -v '^\*\*\*WARNING'

# Always a private Xvfb, so that its X server is ours to measure.
unset DISPLAY
trap wine_env_stop EXIT
wine_env_start "$PWD/build/bench-cross"

echo "== 2./3. ticks under Wine, $ticks each, back to back (QueryPerformanceCounter)"
(cd "$bin" && wine ./floor_bench.exe "$ticks") | show
(cd "$bin" && wine ./tick_bench.exe --config skins/default/vorlamet.ini --name layered \
    --ticks "$ticks") | show
# At 200 %: the kit's scaled view (the start makes the pictures), against the
# floor of a meter of that size.
(cd "$bin" && wine ./floor_bench.exe "$ticks" 200) | show
(cd "$bin" && wine ./tick_bench.exe --config skins/default/vorlamet.ini --name layered_200 \
    --ticks "$ticks" --dpi 192) | show
(cd "$bin" && wine ./tick_bench.exe --config skins/default/bench_painted.ini --name painted_200 \
    --ticks "$ticks" --desktop demo --dpi 192) | show
# The painted meter's parent as the floor has it (a plain window: the demo
# desktop), then on the real desktop's see-through layer, as people run it.
(cd "$bin" && wine ./tick_bench.exe --config skins/default/bench_painted.ini --name painted \
    --ticks "$ticks" --desktop demo) | show
(cd "$bin" && wine ./tick_bench.exe --config skins/default/bench_painted.ini --name painted_real \
    --ticks "$ticks" --desktop real) | show

echo "== where a tick's time goes: its single calls, $ticks each"
(cd "$bin" && wine ./parts_bench.exe "$ticks") | show

echo "== 5. memory over $memory_ticks update and $memory_ticks network ticks"
(cd "$bin" && wine ./tick_bench.exe --config skins/default/vorlamet.ini --name layered \
    --memory "$memory_ticks") | show
(cd "$bin" && wine ./tick_bench.exe --config skins/default/bench_painted.ini --name painted \
    --memory "$memory_ticks") | show

echo "== 4. peer: conky, an idle Wine program, then our host, each alone ${seconds}s after ${warmup}s (0.8 s refresh)"
python3 bench/peer.py "$bin" "$WINE_ENV_XVFB_PID" "$seconds" "$warmup" 0.8 | show

echo "== 6. following the skin while nothing changes: our host ${seconds}s each, watcher on and off"
python3 bench/watch_idle.py "$bin" "$seconds" "$warmup" | show

echo "== summary: figures against their goals"
python3 bench/report.py "$log"
rm -f "$log"
