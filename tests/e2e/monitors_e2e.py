#!/usr/bin/env python3
"""End-to-end tests on displays with two monitors: drags onto the second
monitor, a lost meter brought to the nearest one, a monitor left of the main
one, and the wallpaper on each monitor.
"""
from e2e_support import *  # noqa: F401,F403 (the shared helpers, by design)


def set_drag_full_windows(on):
    """Windows' "show window contents while dragging", read by each program as it starts."""
    result = run("wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "DragFullWindows",
                 "/d", "1" if on else "0", "/f")
    check(result.returncode == 0, "cannot set DragFullWindows: " + result.stderr)


def test_drags_onto_the_second_monitor_come_back_there(env):
    # A Normal and a Desktop-level meter, each dragged with and without the
    # window's contents shown while dragging, from the main monitor onto the
    # second one: each is saved where the drag ended and starts there again.
    second = TWO_MONITORS[1]
    place = (second[0] + 216, 140)
    rows = [("Normal", 1, True), ("Normal", 1, False), ("Desktop", 0, True), ("Desktop", 0, False)]
    try:
        for name, z_order, full in rows:
            what = "%s meter, %s drag" % (name, "full-window" if full else "outline")
            set_drag_full_windows(full)
            ini = env.skin_copy("second_%d_%d" % (z_order, full), **{"Z-Order": z_order, "LockMode": 0, "X": 40, "Y": 40})
            host = Host(env, ini, demo=False)
            try:
                drag(60, 60, second[0] + 236, 160)
                wait_until(lambda: env.meter_state()["rect"][:2] == place,
                           "the %s at %s" % (what, place))
                wait_until(lambda: host.config_writes(), "%s: the save" % what)
                check(host.config_writes() == ["SetCFGInt X %d" % place[0],
                                               "SetCFGInt Y %d" % place[1]],
                      "%s: saved where the drag ended: %s" % (what, host.config_writes()))
            finally:
                host.stop()
            host = Host(env, ini, demo=False)
            try:
                check(host.meter["rect"][:2] == place,
                      "%s: the restarted meter on the second monitor: %s" % (what, host.meter))
                env.screenshot("second_monitor_%s_%s" % (name.lower(), "full" if full else
                                                         "outline"))
            finally:
                host.stop()
    finally:
        set_drag_full_windows(False)  # Wine's own default


def test_a_lost_meter_shows_on_the_nearest_monitor(env):
    # A place that no monitor shows (beyond the second monitor, or below the
    # shorter second monitor beside the main one) puts the meter wholly on the
    # nearest monitor; the file keeps its place, also after a click, until a
    # drag. A meter partly on a monitor stays where it is.
    rows = [("beyond the second monitor", 1, (3000, 100), (1824 - SKIN_W, 100)),
            ("below the second monitor", 0, (1500, 700), (1500, 600 - SKIN_H)),
            ("partly on the second monitor", 1, (1700, 500), (1700, 500))]
    for what, z_order, saved, shown in rows:
        ini = env.skin_copy("lost_%d_%d" % saved, **{"Z-Order": z_order, "LockMode": 0, "X": saved[0], "Y": saved[1]})
        host = Host(env, ini, demo=False)
        try:
            check(host.meter["rect"][:2] == shown, "%s: shown at %s: %s" % (what, shown,
                                                                           host.meter))
            env.screenshot("lost_meter_%d_%d" % saved)
            point = (shown[0] + 40, shown[1] + 30)  # on the skin and on a monitor
            xdo("mousemove", *point)
            settle()
            xdo("click", 1)
            wait_until(lambda: host.config_writes(), "%s: the click's save" % what)
            check((ini_value(ini, "X"), ini_value(ini, "Y")) == tuple(str(v) for v in saved),
                  "%s: the file keeps X, Y: %s" % (what, host.config_writes()))
            check(env.meter_state()["rect"][:2] == shown, "%s: a click moves nothing" % what)
            # Away from the click, so that the press is not a double click.
            drag(point[0] + 20, point[1] + 10, point[0] - 80, point[1] + 60)
            moved = (shown[0] - 100, shown[1] + 50)
            wait_until(lambda: (ini_value(ini, "X"), ini_value(ini, "Y")) ==
                       tuple(str(v) for v in moved), "%s: the drag saved %s" % (what, moved))
            check(env.meter_state()["rect"][:2] == moved, "%s: the meter where it was dragged" % what)
        finally:
            host.stop()


def test_a_meter_on_a_monitor_left_of_the_main_one(env):
    # Left of the main monitor x is negative: a meter dragged there is saved
    # there and starts there again; a place beyond that monitor shows the
    # meter on it, wholly, and the file keeps its place. X's own coordinates
    # start at the left monitor: the pointer is moved by X's.
    # The kit's own follow of the skin takes the save for the meter's own,
    # at the Desktop level too, whose parent's corner is the left monitor's.
    left = MAIN_ON_THE_RIGHT[1]
    to_x = -left[0]
    place = (-900, 100)
    for name, level in (("left", 1), ("left_desktop", 0)):
        ini = env.skin_copy(name, **{"Z-Order": level, "LockMode": 0, "X": 40, "Y": 40})
        host = Host(env, ini, demo=False)
        try:
            drag(to_x + 60, 60, to_x + place[0] + 20, place[1] + 20)
            wait_until(lambda: env.meter_state()["rect"][:2] == place,
                       "%s: the meter at %s" % (name, place))
            wait_until(lambda: host.config_writes(), "the save")
            check(host.config_writes() == ["SetCFGInt X -900", "SetCFGInt Y 100"],
                  "%s: saved at negative X: %s" % (name, host.config_writes()))
            host.wait_line(r"^SkinChange own position -900 100$")
            check(not host.has_line(r"^SkinChange reload"), "%s: no reload" % name)
        finally:
            host.stop()
        host = Host(env, ini, demo=False)
        try:
            check(host.meter["rect"][:2] == place, "%s: the restarted meter on the left monitor: %s"
                  % (name, host.meter))
            env.screenshot(name + "_monitor")
        finally:
            host.stop()
    ini = env.skin_copy("left_lost", **{"Z-Order": 1, "LockMode": 0, "X": -3000, "Y": 300})
    host = Host(env, ini, demo=False)
    try:
        check(host.meter["rect"][:2] == (left[0], 300),
              "beyond the left monitor: shown at its left edge: %s" % host.meter)
        check(host.config_writes() == [] and ini_value(ini, "X") == "-3000",
              "the file keeps its place")
    finally:
        host.stop()


def quadrants_bmp(path, width=200, height=150):
    """A 24-bit BMP: red, green, blue and yellow quadrants; answers a function
    giving the (r, g, b) at a point of it."""
    def colour(x, y):
        right, bottom = x >= width // 2, y >= height // 2
        return ((255, 255, 0) if right else (0, 0, 255)) if bottom else \
            ((0, 255, 0) if right else (255, 0, 0))
    rows = b"".join(bytes(c for x in range(width) for c in reversed(colour(x, y)))
                    for y in reversed(range(height)))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54) + struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + rows)
    return colour


def test_wallpaper_centred_on_each_monitor(env):
    # The host's desktop layer covers both monitors, and a centred wallpaper
    # lies in the middle of each: a Desktop-level meter on the second monitor
    # shows, through its see-through pixels, the
    # picture where the system places it there, and the background colour
    # around it, as soon as the wallpaper is set.
    colour = quadrants_bmp(os.path.join(env.work, "quadrants.bmp"))
    mon = TWO_MONITORS[1]
    left = mon[0] + (mon[2] - mon[0] - 200) // 2
    top = mon[1] + (mon[3] - mon[1] - 150) // 2
    x, y = left - 60, top - 40
    ini = env.skin_copy("wallpaper_second", **{"Z-Order": 0, "X": x, "Y": y, "LockMode": 0})
    host = Host(env, ini, demo=False)
    try:
        check(host.has_line(r"^Desktop layer 1824x768 at 0,0$"),
              "the layer over both monitors: %s" % host.log())
        check(host.meter["rect"][:2] == (x, y), "the meter on the second monitor: %s" % host.meter)
        said = env.probe("wallpaper", win_path(os.path.join(env.work, "quadrants.bmp")), "0", "0")
        check(said.strip() == "set", "the wallpaper set: %r" % said)
        host.wait_line(r"^DesktopChanged$")
        background = [int(v) for v in env.probe("desktop").split()[1:4]]
        shadow = see_through_pixels(os.path.join(env.bin_dir, "skins", SKIN, "background.png"))
        rect = (x, y, x + SKIN_W, y + SKIN_H)

        def shows_the_picture():
            rgb = screen_rgb(env.screenshot("wallpaper_second_monitor"), rect)
            for px, py, r, g, b, alpha in shadow:
                sx, sy = x + px - left, y + py - top
                behind = colour(sx, sy) if 0 <= sx < 200 and 0 <= sy < 150 else background
                if not near(pixel(rgb, SKIN_W, px, py), blended(r, g, b, alpha, behind)):
                    return False
            return True
        wait_until(shows_the_picture, "the centred picture behind the meter's see-through pixels")
    finally:
        host.stop()
        env.probe("wallpaper", "", "0", "0")


# The displays of wine_env_start_heads: (left, top, right, bottom) of each
# monitor as Windows should see it, the main one first.
TWO_MONITORS = [(0, 0, 1024, 768), (1024, 0, 1824, 600)]  # 1024x768 800x600
MAIN_ON_THE_RIGHT = [(0, 0, 800, 600), (-1024, 0, 0, 768)]  # 1024x768 '*800x600'


TWO_MONITOR_TESTS = [
    test_drags_onto_the_second_monitor_come_back_there,
    test_a_lost_meter_shows_on_the_nearest_monitor,
    test_wallpaper_centred_on_each_monitor,
]
MAIN_ON_THE_RIGHT_TESTS = [
    test_a_meter_on_a_monitor_left_of_the_main_one,
]
