#!/usr/bin/env python3
"""End-to-end tests of the meter at the display's scale: at 96, 144 and 192
dpi (Wine's LogPixels) the layered and the painted skin show at 1, 1.5 and 2
times their size, the painted one cut to its picture's mask at that scale,
and the INI file keeps the skin's own numbers; on two monitors that a
stand-in gives different scales, a meter dragged across starts again at the
other scale with its corner where it was dropped.
"""
from e2e_support import *  # noqa: F401,F403 (the shared helpers, by design)
from monitors_e2e import TWO_MONITORS
from settings_dialog_e2e import set_log_pixels

SIZES = {"default": (220, 120), "painted": (240, 84)}
SUFFIX = {96: "", 144: "@1.5x", 192: "@2x"}


def x_windows():
    """Every X window of the host: (position, size)."""
    found = []
    for wid in run("xdotool", "search", "--classname", "vorlamet_host.exe").stdout.split():
        out = run("xdotool", "getwindowgeometry", wid).stdout
        p = re.search(r"Position: (-?\d+),(-?\d+)", out)
        g = re.search(r"Geometry: (\d+)x(\d+)", out)
        if p and g and x_viewable(wid):
            found.append(((int(p.group(1)), int(p.group(2))), (int(g.group(1)), int(g.group(2)))))
    return found


def meter_on_screen(place, size):
    """The X window at place within a pixel of size, as the screen shows it."""
    def shown():
        for at, got in x_windows():
            if at == place and abs(got[0] - size[0]) <= 1 and abs(got[1] - size[1]) <= 1:
                return got
        return None
    return wait_until(shown, "a meter of %dx%d at %s (windows: %s)" % (size + (place, x_windows())),
                      20)


def picture_mask(path):
    """The pixels of a picture without alpha that are not the key colour."""
    size = run("identify", "-format", "%w %h", path).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path, "rgb:-"], capture_output=True, timeout=60).stdout
    check(len(raw) == width * height * 3, "decoded %s" % path)
    return {(i % width, i // width) for i in range(width * height)
            if raw[3 * i:3 * i + 3] != b"\xff\x00\xff"}, (width, height)


def region_pixels(env):
    out = env.probe("region").splitlines()
    check(out and out[0].startswith("region ") and out[0] != "region none",
          "the meter has a window region: %s" % out)
    pixels = set()
    for line in out[1:]:
        l, t, r, b = (int(v) for v in line.split()[1:5])
        pixels.update((x, y) for y in range(t, b) for x in range(l, r))
    return pixels


def changed_lines(before, after):
    a, b = before.decode().splitlines(), after.decode().splitlines()
    check(len(a) == len(b), "the file keeps its lines")
    return [(x, y) for x, y in zip(a, b) if x != y]


def test_meter_at_the_display_scale(env):
    # Each skin at each scale: its size on the screen, the painted one's
    # region, and the INI file byte for byte after a run and, after a drag,
    # changed in X and Y alone (the screen place, never a scaled number). The
    # meter lies below Wine's tray window, so that its screenshots show it whole.
    try:
        for skin in ("default", "painted"):
            for dpi in (96, 144, 192):
                what = "%s skin at %d dpi" % (skin, dpi)
                ini = env.skin_copy("scale_%s_%d" % (skin, dpi), skin=skin,
                                    **{"Z-Order": 1, "LockMode": 0, "X": 40, "Y": 80})
                before = open(ini, "rb").read()
                set_log_pixels(dpi if dpi != 96 else None)
                width, height = SIZES[skin]
                size = (width * dpi // 96, height * dpi // 96)
                host = Host(env, ini)
                try:
                    host.wait_line(r"^Scale %d \(%d %%\) at 40,80$" % (dpi, dpi * 100 // 96))
                    meter_on_screen((40, 80), size)
                    if skin == "painted":
                        picture = os.path.join(os.path.dirname(ini), "background%s.png" % SUFFIX[dpi])
                        mask, picture_size = picture_mask(picture)
                        check(picture_size == size, "%s: the picture for the scale is %s" %
                              (what, picture_size))
                        check(region_pixels(env) == mask,
                              "%s: the window's region is the scaled picture's mask" % what)
                    env.screenshot("scale_%s_%d" % (skin, dpi))
                finally:
                    host.stop()
                check(open(ini, "rb").read() == before, "%s: the file unchanged by a run" % what)
                host = Host(env, ini)
                try:
                    meter_on_screen((40, 80), size)
                    drag(40 + size[0] // 2, 80 + size[1] // 2, 140 + size[0] // 2,
                         140 + size[1] // 2)
                    meter_on_screen((140, 140), size)
                    wait_until(lambda: len(host.config_writes()) >= 2, "%s: the save" % what)
                finally:
                    host.stop()
                changed = sorted(changed_lines(before, open(ini, "rb").read()))
                check(changed == [("X=40", "X=140"), ("Y=80", "Y=140")],
                      "%s: a drag changes X and Y alone, to the screen place: %s" % (what, changed))
    finally:
        set_log_pixels(None)


def test_scale_follows_the_meter_to_another_monitor(env):
    # Wine gives every monitor one scale: the kit's stand-in gives the second
    # monitor 200 %. Dragged across, the meter starts again at twice its size,
    # its corner where it was dropped, and nothing but X and Y is written;
    # dragged back, it is its own size again.
    second = TWO_MONITORS[1]
    ini = env.skin_copy("scale_follow", **{"Z-Order": 1, "LockMode": 0, "X": 40, "Y": 40})
    before = open(ini, "rb").read()
    host = Host(env, ini, extra_env={"VORLAMET_MONITOR_DPI": "96,192"})
    try:
        host.wait_line(r"^Scale 96 \(100 %\) at 40,40$")
        check(host.meter["rect"] == (40, 40, 260, 160), "1x on the first monitor: %s" % host.meter)
        drag(60, 60, second[0] + 120, 120)
        place = (second[0] + 100, 100)
        host.wait_line(r"^ScaleChange 96 to 192 at %d,%d$" % place, 30)
        host.wait_count(r"^InitGlobalModule", 2, 30)
        wait_until(lambda: (env.meter_state() or {}).get("rect") ==
                   (place[0], place[1], place[0] + 440, place[1] + 240),
                   "the meter at 2x with its corner at %s (%s)" % (place, env.meter_state()), 30)
        env.screenshot("scale_follow_second_monitor")
        changed = sorted(changed_lines(before, open(ini, "rb").read()))
        check(changed == [("X=40", "X=%d" % place[0]), ("Y=40", "Y=%d" % place[1])],
              "only X and Y written, the screen place: %s" % changed)
        drag(place[0] + 20, place[1] + 20, 80, 80)
        host.wait_line(r"^ScaleChange 192 to 96 at 60,60$", 30)
        wait_until(lambda: (env.meter_state() or {}).get("rect") == (60, 60, 280, 180),
                   "the meter at 1x again on the first monitor (%s)" % env.meter_state(), 30)
    finally:
        host.stop()


def test_scale_with_the_display_can_be_turned_off(env):
    # At 192 dpi the meter is twice its size; turned off in the icon's menu it
    # shows pixel for pixel at once, and stays so at the next start.
    ini = env.skin_copy("scale_off", **{"Z-Order": 1, "LockMode": 0, "X": 40, "Y": 40})
    set_log_pixels(192)
    host = None
    try:
        host = Host(env, ini)
        meter_on_screen((40, 40), (440, 240))
        choose_from_tray_menu(env, host, "d")
        host.wait_line(r"^Tray Scale with the display 0$")
        host.wait_line(r"^Scale 96 \(100 %\) at 40,40, scaling off$", 30)
        meter_on_screen((40, 40), (220, 120))
        host.stop()
        host = Host(env, ini)
        host.wait_line(r"^Scale 96 \(100 %\) at 40,40, scaling off$")
        meter_on_screen((40, 40), (220, 120))
        choose_from_tray_menu(env, host, "d")
        host.wait_line(r"^Scale 192 \(200 %\) at 40,40$", 30)
        meter_on_screen((40, 40), (440, 240))
    finally:
        if host:
            host.stop()
        set_log_pixels(None)


TESTS = [
    test_meter_at_the_display_scale,
    test_scale_with_the_display_can_be_turned_off,
]
TWO_MONITOR_TESTS = [
    test_scale_follows_the_meter_to_another_monitor,
]
