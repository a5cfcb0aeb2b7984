#!/usr/bin/env python3
"""What following the skin costs while nothing changes: our host on the
default skin, alone for SECONDS after WARMUP, once with Follow skin changes
on (the default) and once with it off, the choice set in the registry as the
icon's menu sets it. Prints the host's processor time per second (summed over
its threads, from /proc/<pid>/task/*/schedstat) and how often its threads
went to sleep and woke (voluntary context switches per second): with the
watcher idle both match the run without it. RESULT lines: "RESULT
watch_idle_<on|off> <ns per second> <wakeups per second>".

Usage: watch_idle.py BIN_DIR SECONDS WARMUP
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer import cpu_ns, end_program, pids_matching  # noqa: E402


def identity(path):
    """The kit's name for a configuration file (shell/kit/configuration/rules/host_identity.cpp)."""
    out = []
    for i, c in enumerate(path):
        if c in "\\/":
            if i > 1 and out and out[-1] == "\\":
                continue
            c = "\\"
        out.append(c.lower() if "A" <= c <= "Z" else c)
    h = 14695981039346656037
    for b in "".join(out).encode("latin-1"):
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "Vorlamet-%016x" % h


def wakeups(pid):
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/status") as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def measure(bin_dir, ini, seconds, warmup):
    host = subprocess.Popen(["wine", "./vorlamet_host.exe", "--config", ini], cwd=bin_dir,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(warmup)
        pids = pids_matching(lambda c: "vorlamet_host.exe" in c and not c.startswith("wine ")
                             and "start.exe" not in c)
        if host.poll() is not None or not pids:
            return None
        pid = pids[0]
        cpu0, wake0, t0 = sum(cpu_ns(pid).values()), wakeups(pid), time.monotonic()
        time.sleep(seconds)
        cpu1, wake1, t1 = sum(cpu_ns(pid).values()), wakeups(pid), time.monotonic()
        return (cpu1 - cpu0) / (t1 - t0), (wake1 - wake0) / (t1 - t0)
    finally:
        end_program(host, pids_matching(lambda c: "vorlamet_host.exe" in c))


def main():
    bin_dir, seconds, warmup = os.path.abspath(sys.argv[1]), float(sys.argv[2]), \
        float(sys.argv[3])
    ini = "Z:" + os.path.join(bin_dir, "skins", "default", "vorlamet.ini").replace("/", "\\")
    key = r"HKCU\Software\Vorlamet\Follow skin changes"
    for state in ("on", "off"):
        subprocess.run(["wine", "reg", "add", key, "/v", identity(ini), "/t", "REG_DWORD", "/d",
                        "1" if state == "on" else "0", "/f"], capture_output=True)
        result = measure(bin_dir, ini, seconds, warmup)
        if result is None:
            print("  the host did not start")
            continue
        ns, wake = result
        print(f"  follow {state:3}: {ns / 1e6:7.2f} ms of processor a second, "
              f"{wake:6.1f} wake-ups a second")
        print(f"RESULT watch_idle_{state} {ns:.0f} {wake:.1f}")
    subprocess.run(["wine", "reg", "delete", key, "/v", identity(ini), "/f"], capture_output=True)


if __name__ == "__main__":
    main()
