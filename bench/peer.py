#!/usr/bin/env python3
"""The peer comparison: conky, then an idle Wine program (what Wine's own
processes cost whatever runs), then our host with the default skin, each alone
on the same display for the same time after a warm-up. Processor time comes
from /proc/<pid>/task/*/schedstat (nanoseconds on the processor, summed over
the process's threads), resident memory from /proc/<pid>/status. Prints one
human line per process and "RESULT peer_<phase>_<process> <ns> <rss_kb>" lines.

Usage: peer.py BIN_DIR XSERVER_PID SECONDS WARMUP REFRESH_SECONDS
"""
import os
import subprocess
import sys
import tempfile
import time


def cpu_ns(pid):
    """Nanoseconds on the processor of each of the process's threads."""
    threads = {}
    try:
        for tid in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    threads[tid] = int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass  # a thread that just ended
    except OSError:
        return None
    return threads


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def cmdline(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f.read().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        return ""


def in_our_prefix(pid):
    """Other people's Wine processes may run beside ours: only those of this
    run's WINEPREFIX count."""
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            return ("WINEPREFIX=" + os.environ["WINEPREFIX"]).encode() in f.read().split(b"\0")
    except (OSError, KeyError):
        return False


def pids_matching(predicate):
    return [int(p) for p in os.listdir("/proc")
            if p.isdigit() and predicate(cmdline(int(p))) and in_our_prefix(int(p))]


def end_program(launcher, pids):
    """Ends a Wine program: its Windows processes, then the launcher that
    started it (killed when it does not end within ten seconds)."""
    for pid in pids:
        try:
            os.kill(pid, 15)
        except OSError:
            pass
    try:
        launcher.wait(timeout=10)
    except subprocess.TimeoutExpired:
        launcher.kill()


HELPERS = ("winedevice.exe", "services.exe", "plugplay.exe", "svchost.exe", "explorer.exe",
           "rpcss.exe")


def wine_helpers():
    """wineserver, and Wine's own service processes of this prefix by name."""
    groups = {"wineserver": pids_matching(
        lambda c: "wineserver" in os.path.basename(c.split(" ")[0]))}
    for name in HELPERS:
        groups[name[:-4]] = pids_matching(lambda c, n=name: n in c.lower())
    return groups


def default_interface():
    try:
        with open("/proc/net/route") as f:
            for line in f.readlines()[1:]:
                fields = line.split()
                if fields[1] == "00000000":
                    return fields[0]
    except OSError:
        pass
    return "eth0"


def measure(groups, seconds):
    """Processor nanoseconds of each group of pids over `seconds`."""
    before = {p: cpu_ns(p) for pids in groups.values() for p in pids}
    time.sleep(seconds)
    after = {p: cpu_ns(p) for pids in groups.values() for p in pids}
    rss = {name: sum(rss_kb(p) for p in pids) for name, pids in groups.items()}
    # Thread by thread: a thread that ended in between takes its time with it
    # and must not make the sum go down; one that started counts in full.
    def delta(p):
        if after[p] is None:
            return 0
        start = before[p] or {}
        return sum(ns - start.get(tid, 0) for tid, ns in after[p].items())
    used = {name: sum(delta(p) for p in pids) for name, pids in groups.items()}
    return used, rss


def report(phase, used, rss, refreshes):
    for name in used:
        per = used[name] / refreshes / 1e6
        print(f"  {phase:7} {name:22} {used[name] / 1e6:9.1f} ms total  {per:7.3f} ms/refresh"
              f"  RSS {rss[name] / 1024:7.1f} MB")
        print(f"RESULT peer_{phase}_{name} {used[name] / refreshes:.0f} {rss[name]}")
    sys.stdout.flush()


def main():
    bin_dir, xserver, seconds, warmup, refresh = sys.argv[1], int(sys.argv[2]), float(
        sys.argv[3]), float(sys.argv[4]), float(sys.argv[5])
    refreshes = seconds / refresh
    here = os.path.dirname(os.path.abspath(__file__))

    # conky alone.
    with open(os.path.join(here, "conky.conf.in")) as f:
        conf = f.read().replace("@IFACE@", default_interface())
    conf_file = tempfile.NamedTemporaryFile("w", suffix=".conf", delete=False)
    conf_file.write(conf)
    conf_file.close()
    conky = subprocess.Popen(["conky", "-c", conf_file.name], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    time.sleep(warmup)
    if conky.poll() is not None:
        print("  conky did not start")
    else:
        used, rss = measure({"process": [conky.pid], "xserver": [xserver], **wine_helpers()},
                            seconds)
        report("conky", used, rss, refreshes)
    conky.terminate()
    conky.wait()
    os.unlink(conf_file.name)

    # Wine's own background work, which any Wine program brings along: an idle
    # Win32 program (Wine's notepad) on the same display.
    idle = subprocess.Popen(["wine", "notepad"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    time.sleep(warmup)
    idle_pids = pids_matching(lambda c: "notepad.exe" in c.lower() and not c.startswith("wine "))
    if idle.poll() is not None or not idle_pids:
        print("  the idle Wine program did not start")
    else:
        used, rss = measure({"process": idle_pids, "xserver": [xserver], **wine_helpers()},
                            seconds)
        report("idle", used, rss, refreshes)
    end_program(idle, idle_pids)

    # Our host on the default skin, at its default period.
    host = subprocess.Popen(["wine", "./vorlamet_host.exe"], cwd=bin_dir,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(warmup)
    ours = pids_matching(lambda c: "vorlamet_host.exe" in c and not c.startswith("wine ")
                         and "start.exe" not in c)
    if host.poll() is not None or not ours:
        print("  the host did not start")
    else:
        used, rss = measure({"process": ours, "xserver": [xserver], **wine_helpers()}, seconds)
        report("ours", used, rss, refreshes)
    end_program(host, ours)


if __name__ == "__main__":
    main()
