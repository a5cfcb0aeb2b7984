#!/usr/bin/env python3
"""Prints the benchmark figures against their goals, from the RESULT lines
that the benchmark programs wrote into one log."""
import sys


def is_number(text):
    try:
        float(text)
        return True
    except ValueError:
        return False


def main():
    results = {}
    with open(sys.argv[1]) as f:
        for line in f:
            if line.startswith("RESULT "):
                fields = line.split()
                # The name may hold spaces; the figures are the numbers at the end.
                first = len(fields)
                while first > 2 and is_number(fields[first - 1]):
                    first -= 1
                results[" ".join(fields[1:first])] = [float(v) for v in fields[first:]]

    def ratio_line(label, ours, floor, goal):
        if ours not in results or floor not in results:
            print(f"  {label:34} missing")
            return
        o, fl = results[ours][0], results[floor][0]
        r = o / fl if fl else float("inf")
        mark = "met" if r <= goal else "NOT met"
        print(f"  {label:34} {o:8.1f} us / {fl:8.1f} us = {r:5.2f} x   goal <= {goal} x  ({mark})")

    print(" median tick / its floor:")
    ratio_line("update tick, layered", "layered_update", "floor_layered_update", 1.3)
    ratio_line("update tick, painted (with WM_PAINT)", "painted_update", "floor_painted_update", 1.5)
    ratio_line("network tick / GetIfTable alone", "layered_net", "floor_net", 1.2)
    ratio_line("update tick, layered, at 200 %", "layered_200_update", "floor_layered_update_200",
               1.3)
    ratio_line("update tick, painted, at 200 %", "painted_200_update", "floor_painted_update_200",
               1.5)
    start, start200 = results.get("layered_start"), results.get("layered_200_start")
    if start and start200:
        print(f"  (the plug-in's start, layered: {start[0]:.1f} ms at 100 %, {start200[0]:.1f} ms "
              f"at 200 % with its pictures made: {start200[0] / start[0]:.2f} x)")
    host = [results.get(n) for n in ("DrawSkin 220x120", "DrawPicture 220x120 onto DDB")]
    if all(host) and "painted_update" in results and "floor_painted_update" in results:
        floor = results["floor_painted_update"][0] + host[0][0] + host[1][0]
        print(f"  (painted, with the host library's DrawSkin and DrawPicture, "
              f"{host[0][0]:.0f} + {host[1][0]:.0f} us, counted in the floor: "
              f"{results['painted_update'][0] / floor:.2f} x)")

    real, plain = results.get("painted_real_update"), results.get("painted_update")
    if real and plain:
        print(f"  (painted on the real desktop's layer: {real[0]:.1f} us, {real[0] - plain[0]:+.0f} us"
              f" beside a plain parent; Wine rebuilds a colour-keyed window's shape on each paint)")

    print(" processor time per refresh, ours / conky (process to process):")
    helpers = ("wineserver", "winedevice", "services", "plugplay", "svchost", "explorer", "rpcss")
    for name, label in (("process", "process"), ("xserver", "X server")):
        o, c = results.get(f"peer_ours_{name}"), results.get(f"peer_conky_{name}")
        if not o or not c:
            print(f"  {label:22} missing")
            continue
        cpu = f"{o[0] / 1e6:7.3f} ms / {c[0] / 1e6:7.3f} ms"
        cpu_ratio = f"{o[0] / c[0]:5.2f} x" if c[0] else "  n/a"
        mem = f"RSS {o[1] / 1024:6.1f} MB / {c[1] / 1024:6.1f} MB"
        mem_ratio = f"{o[1] / c[1]:5.2f} x" if c[1] else "n/a"
        goal = ""
        if name == "process":
            goal = "  goal <= 0.8 x, aim 0.5 x (" + (
                "met" if c[0] and o[0] / c[0] <= 0.8 else "NOT met") + ")"
        print(f"  {label:22} {cpu} = {cpu_ratio}   {mem} = {mem_ratio}{goal}")
    print(" Wine's own processes per refresh (conky has none): with our host / with an idle"
          " Wine program:")
    total_ours = total_idle = 0.0
    for name in helpers:
        o, i = results.get(f"peer_ours_{name}"), results.get(f"peer_idle_{name}")
        if not o or not o[1]:
            continue
        i = i or [0.0, 0.0]
        total_ours += o[0]
        total_idle += i[0]
        print(f"  {name:22} {o[0] / 1e6:7.3f} ms / {i[0] / 1e6:7.3f} ms   RSS {o[1] / 1024:6.1f} MB")
    print(f"  {'all of them':22} {total_ours / 1e6:7.3f} ms / {total_idle / 1e6:7.3f} ms"
          f"   ours beyond idle Wine: {(total_ours - total_idle) / 1e6:6.3f} ms per refresh")

    print(" memory in the running loop (goal: zero allocations, zero growth):")
    for mode in ("layered", "painted"):
        m = results.get(f"{mode}_memory")
        if not m:
            print(f"  {mode:8} missing")
            continue
        before, after, allocations = m[0], m[1], int(m[2])
        counting = len(m) > 4 and m[4] == 1
        growth = after - before
        ok = "met" if allocations == 0 and growth <= 0 and counting else "NOT met"
        print(f"  {mode:8} private bytes {before / 1024:.0f} KB -> {after / 1024:.0f} KB "
              f"(growth {growth / 1024:.0f} KB), heap allocations {allocations}"
              f"{'' if counting else ' (the counter did not count a test call)'}  ({ok})")


if __name__ == "__main__":
    main()
