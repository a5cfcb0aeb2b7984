#!/usr/bin/env python3
"""End-to-end tests of the kit's desktops and icon: the real desktop's
see-through layer, display changes, the icon's menu and the clean ways the
kit ends.
"""
from e2e_support import *  # noqa: F401,F403 (the shared helpers, by design)


def test_real_desktop(env):
    # Without --demo-desktop the host shows nothing of its own but the meter:
    # the screen beside it stays as it was, the pointer there reaches what is
    # below, and the meter's see-through pixels show the system's desktop
    # (here its background colour: the test prefix has no wallpaper), wherever
    # it is moved.
    empty = env.screenshot("real_desktop_before")
    ini = env.skin_copy("realdesktop", **{"Z-Order": 0, "X": 300, "Y": 200, "LockMode": 0})
    host = Host(env, ini, demo=False)
    try:
        check(host.has_line(r"^Desktop layer 1280x800 at 0,0$"), "the desktop layer: %s" % host.log())
        check(host.has_line(r"^DesktopSkin system 1$"), "DrawSkin paints the system's desktop")
        rect = host.meter["rect"]
        check(rect == (300, 200, 300 + SKIN_W, 200 + SKIN_H), "the meter at X, Y: %s" % (rect,))
        desktop = [int(v) for v in env.probe("desktop").split()[1:4]]
        shadow = see_through_pixels(os.path.join(env.bin_dir, "skins", SKIN, "background.png"))
        check(len(shadow) > 20, "the skin has see-through pixels")
        root = x_root()
        full = (0, 0, 1280, 800)

        # The system's notification area (Wine's own small window here) shows the icon.
        tray = wait_until(wine_system_tray, "the notification area")
        icon = screen_rgb(env.screenshot("real_desktop_tray"), tray)
        check(any(abs(p[0] - 110) + abs(p[1] - 220) + abs(p[2] - 120) < 40
                  for p in (icon[i:i + 3] for i in range(0, len(icon), 3))),
              "the notification area shows the icon's green bar")

        def check_place(name, left, top, pointer=True):
            shot = env.screenshot(name)
            before = blank(screen_rgb(empty, full), 1280, tray)
            now = blank(screen_rgb(shot, full), 1280, tray)
            # Everything but the meter's rectangle is as it was before the host started.
            for y in list(range(0, top)) + list(range(top + SKIN_H, 800)):
                check(now[y * 3840:(y + 1) * 3840] == before[y * 3840:(y + 1) * 3840],
                      "row %d of the screen unchanged" % y)
            for y in range(top, top + SKIN_H):
                row = slice(y * 3840, (y + 1) * 3840)
                a, b = now[row], before[row]
                check(a[:left * 3] == b[:left * 3] and
                      a[(left + SKIN_W) * 3:] == b[(left + SKIN_W) * 3:],
                      "row %d beside the meter unchanged" % y)
            for x, y, r, g, b, alpha in shadow[::max(1, len(shadow) // 12)]:
                got = pixel(now, 1280, left + x, top + y)
                want = blended(r, g, b, alpha, desktop)
                check(near(got, want),
                      "see-through pixel %d,%d (alpha %d) shows the desktop %s: %s, not %s"
                      % (x, y, alpha, desktop, got, want))
            if not pointer:
                return
            check(x_window_at(left - 40, top + 40) == root and x_window_at(900, 700) == root,
                  "the pointer beside the meter reaches the root window")
            check(x_window_at(left + SKIN_W // 2, top + SKIN_H // 2) != root,
                  "the meter takes the pointer")

        check_place("real_desktop", 300, 200)
        drag(400, 260, 560, 340)
        wait_until(lambda: env.meter_state()["rect"][:2] == (460, 280), "the meter at 460,280")
        # Wine (without a window manager) keeps the pointer on the host's
        # windows after it has moved a child window, so the pointer is only
        # checked before the drag.
        check_place("real_desktop_moved", 460, 280, pointer=False)

        # A changed desktop (here its colour) is painted afresh behind the meter.
        check(env.probe("colours").strip() == "set", "the desktop colour set")
        host.wait_line(r"^DesktopChanged$")
        host.wait_line(r"^DesktopSkin system 1$")
    finally:
        host.stop()


def test_display_change(env):
    # In a Wine virtual desktop, whose resolution a program may change: the
    # host's desktop layer follows the screen to 1024 x 768 and back without
    # a restart, and hands the change to the Desktop-level meter on it, which
    # stays where it was while the screen shows it, comes onto the screen
    # when the part it was on goes away, and back to its place when that
    # part comes back.
    rows = [("on both screens", (300, 200), (300, 200)),
            ("beyond the smaller screen", (1050, 600), (1024 - SKIN_W, 600))]
    for what, place, smaller in rows:
        display_change_row(env, what, place, smaller)


def display_change_row(env, what, place, smaller):
    ini = env.skin_copy("display", **{"Z-Order": 0, "X": place[0], "Y": place[1]})
    desktop = "/desktop=vorlamet_display,1280x800"
    process = subprocess.Popen(
        ["wine", "explorer", desktop, os.path.join(env.bin_dir, "vorlamet_host.exe"), "--config",
         win_path(ini), "--seconds", "300"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
        text=True)
    try:
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(l.rstrip("\r\n")) for l in process.stdout],
                         daemon=True).start()
        seen = []

        def logged(pattern):
            def found():
                while not lines.empty():
                    seen.append(lines.get())
                return any(re.search(pattern, l) for l in seen)
            wait_until(found, "%s: host log line /%s/ (log: %s)" % (what, pattern, seen), 60)

        logged(r"^InitGlobalModule 0 window (?!0+:)")
        check(any(l == "Desktop layer 1280x800 at 0,0" for l in seen), "the layer: %s" % seen)

        def in_desktop(*args, lines=1):
            """The probe's first lines, run in the virtual desktop (whose
            launcher lingers after the probe has ended)."""
            probe = subprocess.Popen(["wine", "explorer", desktop, env.probe_exe] + list(args),
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            try:
                return "".join(probe.stdout.readline() for _ in range(lines))
            finally:
                probe.kill()
                probe.wait()

        def meter_at(point):
            state = in_desktop("state", lines=2)
            m = re.search(r"meter (-?\d+) (-?\d+) -?\d+ -?\d+ visible 1", state)
            return state if m and (int(m.group(1)), int(m.group(2))) == point else None

        for width, height, shown in ((1024, 768, smaller), (1280, 800, place)):
            said = in_desktop("display", str(width), str(height))
            check("display %d %d" % (width, height) in said, "the screen changed: %r" % said)
            logged(r"^Desktop moved %dx%d at 0,0$" % (width, height))
            state = wait_until(lambda: meter_at(shown), "%s: the meter at %s on %dx%d"
                               % (what, shown, width, height), 30)
            # The resized layer is still the kit's bottom window.
            order = re.search(r"^order (.*)$", state, re.M).group(1).split("|")
            kit = [t for t in order if "Vorlamet" in t]
            check(kit and kit[-1] == "Vorlamet desktop layer", "the layer at the bottom: %s" % order)
        in_desktop("quit")
        check(process.wait(60) == 0, "the host ends")
        check(not any(l.startswith("DoneModule") for l in seen[:-3]) and
              sum(l.startswith("InitGlobalModule") for l in seen) == 1,
              "the meter ran on without a restart: %s" % seen)
        check(ini_value(ini, "X") == str(place[0]), "%s: the file keeps its place" % what)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def test_tray_icon_and_clean_ends(env):
    # The icon's menu reloads the plug-in and ends the host; a second host on
    # the same file refuses; Ctrl+C and the end of the session end it cleanly
    # too: each time DoneModule runs, the icon goes and the status is 0.
    ini = env.skin_copy("tray", LockMode=0, X=40, Y=40)
    exe = os.path.join(env.bin_dir, "vorlamet_host.exe")
    host = Host(env, ini, demo=False)
    try:
        host.wait_line(r"^TrayIcon added 1$")
        choose_from_tray_menu(env, host, "r")
        host.wait_line(r"^Tray Reload$")
        host.wait_count(r"^InitGlobalModule 0", 2)
        check([l for l in host.log() if l.startswith("DoneModule")] == ["DoneModule 1"],
              "stopped once before: %s" % host.log())
        wait_until(lambda: (env.meter_state() or {}).get("visible"), "the meter shown again")

        # The same file, spelled otherwise.
        spelled = win_path(ini).replace("\\", "/")
        spelled = spelled[:spelled.rfind("/") + 1] + "VORLAMET.INI"
        second = run("wine", exe, "--config", spelled, "--seconds", "30", timeout=90)
        check(second.returncode == 3, "the second host's status: %d" % second.returncode)
        check("already running with" in second.stderr and "InitGlobalModule" not in second.stdout,
              "the second host says so and starts nothing: %r %r" % (second.stdout, second.stderr))
        check(host.alive() and host.count(r"^DoneModule") == 1,
              "the first host runs on")

        check("posted" in env.probe("tray", "dblclick"), "double-click on the icon")
        host.wait_line(r"^Tray Properties$")

        choose_from_tray_menu(env, host, "x")
        check(host.wait_exit() == 0, "Exit ends with status 0")
        log = host.log()
        check(log.index("End exit") < log.index("DoneModule 1", log.index("Tray Exit")) <
              log.index("TrayIcon removed 1"), "Exit stops the plug-in, then the icon: %s" % log)
    finally:
        host.stop()

    # Ctrl+C ends the loop, then the plug-in stops. At the end of the session
    # the plug-in stops and the icon goes before the host answers, since
    # Windows may end the process as soon as it has.
    for end, order in (("Ctrl+C", ["End Ctrl+C", "DoneModule 1", "TrayIcon removed 1"]),
                       ("session", ["DoneModule 1", "TrayIcon removed 1", "End session"])):
        host = Host(env, ini, demo=False)
        try:
            host.wait_line(r"^TrayIcon added 1$")
            if end == "Ctrl+C":
                host.process.send_signal(signal.SIGINT)
            else:
                answer = env.probe("endsession").split()
                check(answer == ["query", "1", "ended"], "the host allows the end: %s" % answer)
            check(host.wait_exit() == 0, "%s ends with status 0" % end)
            log = host.log()
            check([l for l in log if l in order] == order,
                  "%s: %s in this order: %s" % (end, order, log))
        finally:
            host.stop()


LAYER = "Vorlamet desktop layer"


class StandInExplorer:
    """The probe's Explorer: its desktop window, a cloaked-looking host and,
    on demand, Show desktop's WorkerW and a program coming back."""

    def __init__(self, env):
        self.process = subprocess.Popen(["wine", env.probe_exe, "explorer"], stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                         text=True)
        self.shell = self.process.stdout.readline().strip()
        check(self.shell in ("shell 0", "shell 1"), "the stand-in's desktop: %r" % self.shell)
        check(self.process.stdout.readline().strip() == "ready", "the stand-in Explorer")

    def tell(self, command, answer):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        check(self.process.stdout.readline().strip() == answer, "the stand-in: %s" % answer)

    def close(self):
        self.process.stdin.close()
        self.process.wait(60)


def shows_the_meter(env, rect):
    """Most of the meter's pixels are not the desktop's colour: the meter is
    on view, not hidden behind a window painted with it."""
    desktop = [int(v) for v in env.probe("desktop").split()[1:4]]
    rgb = screen_rgb(env.screenshot("explorer_meter"), rect)
    pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
    return sum(1 for p in pixels if not near(p, desktop, 8)) > len(pixels) // 2


def test_explorer_desktop(env):
    # With Explorer's part stood in for (its desktop window at the bottom,
    # a visible full-screen host the system keeps cloaked), nothing counts
    # as a full-screen program: an Always on top meter starts on top and
    # stays there through Show desktop and back. Show desktop (the WorkerW in
    # front) leaves a Desktop-level meter on view and draggable, the layer
    # right above the WorkerW; a program's return puts the layer back below it.
    explorer = StandInExplorer(env)
    try:
        for skin, extra in (("layered", None), ("painted", {"TOLVRIC_NO_LAYERED": "1"})):
            ini = env.skin_copy("explorer_top_" + skin, **{"Z-Order": 2, "LockMode": 0,
                                                           "X": 700, "Y": 100})
            host = Host(env, ini, demo=False, extra_env=extra)
            try:
                host.wait_line(r"^ForegroundWatch 1$")
                check(host.has_line(r"^HostMsgQueryFullScreen 0$"),
                      "%s: no full-screen program in front: %s" % (skin, host.log()))
                for command, answer, front in ((None, None, None),
                                               ("showdesktop", "desktop shown", "WorkerW"),
                                               ("program", "program shown", "Program")):
                    if command:
                        explorer.tell(command, answer)
                        wait_until(lambda: env.meter_state()["foreground"] == front,
                                   "%s: %s in front" % (skin, front))
                    state = env.meter_state()
                    check(state["topmost"] == 1 and state["order"][0] == "[meter]",
                          "%s, after %s: the meter on top: %s" % (skin, answer or "the start",
                                                                  state))
            finally:
                host.stop()

            ini = env.skin_copy("explorer_desktop_" + skin, **{"Z-Order": 0, "LockMode": 0,
                                                               "X": 300, "Y": 200})
            host = Host(env, ini, demo=False, extra_env=extra)
            try:
                host.wait_line(r"^ForegroundWatch 1$")
                explorer.tell("showdesktop", "desktop shown")
                host.wait_line(r"^Desktop above the shell's desktop$")
                order = env.meter_state()["order"]
                check(order.index(LAYER) < order.index("WorkerW"),
                      "%s: the layer above the WorkerW: %s" % (skin, order))
                rect = env.meter_state()["rect"]
                # Each poll takes a screenshot, slow on a slow machine: a generous bound.
                wait_until(lambda: shows_the_meter(env, rect), "%s: the meter on view" % skin,
                           timeout=60.0)
                drag(400, 260, 440, 290)
                wait_until(lambda: env.meter_state()["rect"][:2] == (340, 230),
                           "%s: the meter dragged over the shown desktop" % skin)
                wait_until(lambda: shows_the_meter(env, env.meter_state()["rect"]),
                           "%s: the meter on view after the drag" % skin, timeout=60.0)
                explorer.tell("program", "program shown")
                host.wait_line(r"^Desktop at the bottom$")
                order = env.meter_state()["order"]
                check(order.index(LAYER) > order.index("Program") and
                      order.index(LAYER) > order.index("WorkerW"),
                      "%s: the layer back below the program and the desktop: %s" % (skin, order))
                # Shown again, and the program back once more: each time.
                explorer.tell("showdesktop", "desktop shown")
                host.wait_count(r"^Desktop above the shell's desktop$", 2)
                explorer.tell("program", "program shown")
                host.wait_count(r"^Desktop at the bottom$", 2)
            finally:
                host.stop()
    finally:
        explorer.close()


TESTS = [
    test_real_desktop,
    test_display_change,
    test_explorer_desktop,
    test_tray_icon_and_clean_ends,
]
