#!/usr/bin/env python3
"""End-to-end tests of the meter and the kit: the real host program loads the
real plug-in under Wine on an X display, and xdotool drives it with real
pointer and keyboard input. Checks are made on what a person would see (where
the window is, whether it is on screen, what the screen shows) and on what the
host logs and the configuration file holds. The tests live in one file per
feature (*_e2e.py); what they share is in e2e_support.py.

Usage: run_e2e.py BIN_DIR [--only NAME ...] [--artifacts DIR] [--display NAME]
                  [--label TEXT] [--list]
DISPLAY and WINEPREFIX must be set (tests/e2e/run.sh does that). Each test
belongs to one display of DISPLAYS below: "one" monitor on a plain display,
or two monitors side by side (wine_env_start_heads), whose layout is checked
first. --list prints the names of the chosen display's tests.
"""
import argparse
import os
import shutil
import sys
import tempfile
import time
import traceback

import desktop_e2e
import follow_skin_e2e
import lock_modes_e2e
import menus_e2e
import monitors_e2e
import scale_e2e
import settings_dialog_e2e
from e2e_support import Env, Failure, xdo

# Each display: the monitors it must show (None: any one), and its tests in order.
DISPLAYS = {
    "one": (None, lock_modes_e2e.TESTS + settings_dialog_e2e.TESTS + desktop_e2e.TESTS +
            follow_skin_e2e.TESTS + menus_e2e.TESTS + scale_e2e.TESTS),
    "two": (monitors_e2e.TWO_MONITORS,
            monitors_e2e.TWO_MONITOR_TESTS + scale_e2e.TWO_MONITOR_TESTS),
    "main-right": (monitors_e2e.MAIN_ON_THE_RIGHT, monitors_e2e.MAIN_ON_THE_RIGHT_TESTS),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("--only", nargs="*", default=[])
    parser.add_argument("--artifacts", default=None)
    parser.add_argument("--display", default="one", choices=sorted(DISPLAYS))
    parser.add_argument("--label", default="e2e")
    parser.add_argument("--list", action="store_true")
    args = parser.parse_args()
    monitors, tests = DISPLAYS[args.display]
    names = [t.__name__[len("test_"):] for t in tests]
    if args.list:
        print("\n".join(names))
        return 0
    bin_dir = os.path.abspath(args.bin_dir)
    for name in ("vorlamet_host.exe", "Vorlamet.plg", "tolvric.dll", "plasmyr.dll"):
        if not os.path.exists(os.path.join(bin_dir, name)):
            print("missing %s in %s" % (name, bin_dir))
            return 2
    artifacts = os.path.abspath(args.artifacts or os.path.join(bin_dir, "..", "e2e"))
    os.makedirs(artifacts, exist_ok=True)
    work = tempfile.mkdtemp(prefix="vorlamet_e2e_")
    env = Env(bin_dir, work, artifacts)
    if monitors:
        seen = [m for m, _ in env.monitors()]
        if seen != monitors:
            print("FAIL the display shows monitors %s, not %s" % (seen, monitors))
            print("%s: 0 passed, 1 failed" % args.label)
            return 1
    failed = passed = 0
    for test in tests:
        name = test.__name__[len("test_"):]
        if args.only and name not in args.only:
            continue
        start = time.monotonic()
        try:
            test(env)
            print("PASS %s (%.1f s)" % (name, time.monotonic() - start), flush=True)
            passed += 1
        except Exception as e:  # one failing test must not stop the others
            failed += 1
            print("FAIL %s: %s" % (name, e), flush=True)
            if not isinstance(e, Failure):
                traceback.print_exc()
            env.screenshot("FAIL_" + name)
        xdo("mousemove", 1000, 750)
    shutil.rmtree(work, ignore_errors=True)
    print("screenshots in %s" % artifacts)
    print("%s: %d passed, %d failed" % (args.label, passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
