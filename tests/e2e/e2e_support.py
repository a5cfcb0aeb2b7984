#!/usr/bin/env python3
"""What every end-to-end test uses: the Wine environment and the probe
(Env), the host program and its log (Host), pointer and keyboard input
through xdotool, screenshots and their pixels, the menus, and the settings
dialog as a person drives it. The feature files import all of it.
"""
import argparse
import os
import queue
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import traceback

SKIN = "default"
SKIN_W, SKIN_H = 220, 120
PROBE_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "meter_probe.cpp")
# The probe reads the contract and the Win32 helpers from the source tree.
SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, what, timeout=10.0, interval=0.05):
    """Polls predicate until it answers something true; fails after timeout."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def run(*args, timeout=60, env=None):
    """Runs a command to its end; its output as text. The output goes to files
    read once the command has ended: a Wine program that starts Wine's desktop
    process passes that process its standard handles, and a pipe would stay
    open for as long as the desktop lives."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(args, stdout=out, stderr=err, timeout=timeout, env=env)
        texts = []
        for f in (out, err):
            f.seek(0)
            texts.append(f.read().decode(errors="replace").replace("\r\n", "\n"))
        result.stdout, result.stderr = texts
        return result


def xdo(*args):
    result = run("xdotool", *[str(a) for a in args])
    check(result.returncode == 0, "xdotool %s failed: %s" % (args, result.stderr))
    return result.stdout


def win_path(path):
    return "Z:" + path.replace("/", "\\")


class Env:
    def __init__(self, bin_dir, work, artifacts):
        self.bin_dir = bin_dir
        self.work = work
        self.artifacts = artifacts
        self.probe_exe = os.path.join(work, "meter_probe.exe")
        result = run("i686-w64-mingw32-g++-posix", "-O2", "-static", "-I", SOURCE_ROOT, "-o",
                     self.probe_exe, PROBE_SOURCE, "-luser32", "-lgdi32", "-ladvapi32",
                     timeout=300)
        check(result.returncode == 0, "cannot build the probe: " + result.stderr)

    def probe(self, *args, extra_env=None):
        environment = dict(os.environ, **(extra_env or {}))
        return run("wine", self.probe_exe, *args, env=environment).stdout

    def descriptor(self, layered=True):
        """What the built plug-in's GetPluginInfo answers, as the host sees it."""
        extra = {} if layered else {"TOLVRIC_NO_LAYERED": "1"}
        out = self.probe("descriptor", win_path(os.path.join(self.bin_dir, "Vorlamet.plg")),
                         extra_env=extra)
        info = {"rows": [], "name": None}
        for line in out.splitlines():
            line = line.rstrip("\r")
            if line.startswith("info "):
                info["name"] = line.split(" ", 2)[2]
            elif line.startswith("row "):
                p = line.split(" ", 6)
                key, caption = p[6].split("|", 1)
                info["rows"].append({"type": int(p[2], 16), "default": int(p[3]),
                                     "min": int(p[4]), "max": int(p[5]), "key": key,
                                     "caption": caption, "options": []})
            elif line.startswith("option "):
                p = line.split(" ", 3)
                info["rows"][int(p[1])]["options"].append(p[3])
        check(len(info["rows"]) == 44, "the descriptor has 44 rows: %s" % out)
        return info

    def dialogs(self):
        """The visible dialog windows: the settings dialog and message boxes."""
        dialogs = []
        for line in self.probe("dialogs").splitlines():
            line = line.rstrip("\r")
            if line.startswith("dialog "):
                p = line.split(" ", 5)
                dialogs.append({"rect": tuple(int(v) for v in p[1:5]),
                                "title": p[5] if len(p) > 5 else "", "controls": {}})
            elif line.startswith("control ") and dialogs:
                p = line.split(" ", 8)
                dialogs[-1]["controls"][int(p[1])] = {
                    "class": p[2], "rect": tuple(int(v) for v in p[3:7]), "checked": int(p[7]),
                    "text": p[8] if len(p) > 8 else "", "items": [], "selected": -1}
            elif line.startswith("itemheight ") and dialogs:
                p = line.split(" ")
                dialogs[-1]["controls"][int(p[1])]["item_height"] = int(p[2])
            elif line.startswith("item ") and dialogs:
                p = line.split(" ", 4)
                control = dialogs[-1]["controls"][int(p[1])]
                control["items"].append(p[4] if len(p) > 4 else "")
                if p[3] == "1":
                    control["selected"] = int(p[2])
        return dialogs

    def monitors(self):
        """The monitors as Win32 sees them, the main one first: (rect, work area)."""
        found = []
        for line in self.probe("monitors").splitlines():
            v = line.split()
            if len(v) == 10 and v[0] == "monitor" and v[5] == "work":
                found.append((tuple(int(x) for x in v[1:5]), tuple(int(x) for x in v[6:10])))
        return found

    def meter_state(self):
        """The meter as Win32 sees it, or None when there is none."""
        out = self.probe("state")
        m = re.search(r"meter (-?\d+) (-?\d+) (-?\d+) (-?\d+) visible (\d) topmost (\d) "
                      r"clickthrough (\d)\s+order (.*)", out)
        if not m:
            return None
        v = [int(x) for x in m.groups()[:7]]
        foreground = re.search(r"^foreground (.*)$", out, re.M)
        return {"rect": tuple(v[:4]), "visible": v[4], "topmost": v[5], "clickthrough": v[6],
                "order": m.group(8).strip().split("|"),
                "foreground": foreground.group(1).strip() if foreground else None}

    def skin_copy(self, name, skin=SKIN, **keys):
        """A private copy of a shipped skin with some keys changed."""
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(os.path.join(self.bin_dir, "skins", skin), folder)
        ini = os.path.join(folder, "vorlamet.ini")
        with open(ini) as f:
            lines = f.read().splitlines()
        for key, value in keys.items():
            key = key.replace("_", "-")
            lines = [l for l in lines if not l.startswith(key + "=")]
            lines.insert(lines.index("[Quilbex]") + 1, "%s=%s" % (key, value))
        with open(ini, "w") as f:
            f.write("\r\n".join(lines) + "\r\n")
        return ini

    def screenshot(self, name):
        path = os.path.join(self.artifacts, name + ".png")
        result = run("import", "-window", "root", path)
        check(result.returncode == 0, "screenshot failed: " + result.stderr)
        return path


def ini_value(ini, key):
    with open(ini) as f:
        for line in f.read().splitlines():
            if line.startswith(key + "="):
                return line.split("=", 1)[1].strip()
    return None


class Host:
    """The host program with the plug-in, its log lines collected as they come."""

    def __init__(self, env, ini, *extra, extra_env=None, demo=True):
        self.env = env
        self.lines = []
        self.queue = queue.Queue()
        # The service library logs its calls here: the configuration writes.
        self.call_log = ini + ".calls"
        environment = dict(os.environ, TOLVRIC_CALL_LOG=win_path(self.call_log),
                           **(extra_env or {}))
        self.process = subprocess.Popen(
            ["wine", os.path.join(env.bin_dir, "vorlamet_host.exe"), "--config", win_path(ini),
             "--seconds", "300"] + (["--demo-desktop"] if demo else []) + list(extra),
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=environment)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.wait_line(r"^InitGlobalModule", 60)
        self.meter = wait_until(lambda: self._meter_if_shown(), "the meter window", 30)

    def _meter_if_shown(self):
        state = self.env.meter_state()
        return state if state and state["visible"] else None

    def _read(self):
        for line in self.process.stdout:
            self.queue.put(line.rstrip("\r\n"))

    def _drain(self):
        while True:
            try:
                self.lines.append(self.queue.get_nowait())
            except queue.Empty:
                return

    def wait_line(self, pattern, timeout=10.0):
        def found():
            self._drain()
            for line in self.lines:
                if re.search(pattern, line):
                    return line
            return None
        return wait_until(found, "host log line /%s/ (log: %s)" % (pattern, self.lines), timeout)

    def log(self):
        """Every line the host has written so far."""
        self._drain()
        return self.lines

    def count(self, pattern):
        """How many lines so far match pattern."""
        self._drain()
        return len([l for l in self.lines if re.search(pattern, l)])

    def wait_count(self, pattern, n, timeout=20.0):
        """Waits until n lines match pattern; answers the lines after the n-th."""
        wait_until(lambda: self.count(pattern) >= n,
                   "%d host log lines /%s/ (log: %s)" % (n, pattern, self.lines), timeout)
        matches = [i for i, l in enumerate(self.lines) if re.search(pattern, l)]
        return self.lines[matches[n - 1] + 1:]

    def has_line(self, pattern):
        self._drain()
        return any(re.search(pattern, l) for l in self.lines)

    def config_writes(self):
        """The SetCFGInt calls made so far."""
        if not os.path.exists(self.call_log):
            return []
        with open(self.call_log) as f:
            return [l.strip() for l in f if l.startswith("SetCFGInt")]

    def alive(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=30):
        """The host's exit status once it has ended by itself."""
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the host did not end (log: %s)" % self.log())
        wait_until(lambda: not self._reader.is_alive(), "the end of the host's log", 10)
        self._drain()
        return code

    def stop(self):
        if self.alive():
            self.env.probe("quit")
            try:
                self.process.wait(20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._drain()


def meter_x_window(env, rect):
    """The X window that shows the meter: the host's window of the meter's size."""
    out = run("xdotool", "search", "--classname", "vorlamet_host.exe").stdout.split()
    width, height = rect[2] - rect[0], rect[3] - rect[1]
    for wid in out:
        geometry = run("xdotool", "getwindowgeometry", wid).stdout
        if "Geometry: %dx%d" % (width, height) in geometry:
            return wid
    raise Failure("no X window of the meter's size")


def x_viewable(wid):
    return "IsViewable" in run("xwininfo", "-id", wid).stdout


def x_position(wid):
    out = run("xdotool", "getwindowgeometry", wid).stdout
    m = re.search(r"Position: (-?\d+),(-?\d+)", out)
    return (int(m.group(1)), int(m.group(2))) if m else None


def settle():
    time.sleep(0.05)


def drag(x0, y0, x1, y1, shift=False):
    xdo("mousemove", x0, y0)
    settle()
    if shift:
        xdo("keydown", "shift")
        settle()
    xdo("mousedown", 1)
    steps = 10
    for i in range(1, steps + 1):
        xdo("mousemove", x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        settle()
    xdo("mouseup", 1)
    if shift:
        settle()
        xdo("keyup", "shift")


def mean_brightness(path, rect):
    """Mean brightness (0-1) of a screen rectangle in a screenshot."""
    x0, y0, x1, y1 = rect
    result = run("convert", path, "-crop", "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0),
                 "-colorspace", "Gray", "-format", "%[fx:mean]", "info:")
    return float(result.stdout.strip())


def region_signature(path, rect):
    """A tiny thumbnail of a screen rectangle, to compare what two screenshots show there."""
    x0, y0, x1, y1 = rect
    result = run("convert", path, "-crop", "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0),
                 "-resize", "8x4!", "-depth", "8", "txt:-")
    return re.findall(r"\((\d+),(\d+),(\d+)", result.stdout)


def same_picture(a, b, tolerance=12):
    return len(a) == len(b) and all(
        abs(int(p) - int(q)) <= tolerance for pa, pb in zip(a, b) for p, q in zip(pa, pb))


def centre(rect, dx=0, dy=0):
    return ((rect[0] + rect[2]) // 2 + dx, (rect[1] + rect[3]) // 2 + dy)


def x_root():
    m = re.search(r"Window id: (0x[0-9a-f]+)", run("xwininfo", "-root").stdout)
    return int(m.group(1), 16)


def x_window_at(x, y):
    """The X window that takes the pointer at a point of the screen."""
    xdo("mousemove", x, y)
    settle()
    m = re.search(r"WINDOW=(\d+)", run("xdotool", "getmouselocation", "--shell").stdout)
    return int(m.group(1)) if m else None


def screen_rgb(path, rect):
    """The raw RGB bytes of a rectangle of a screenshot, row by row."""
    x0, y0, x1, y1 = rect
    result = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0),
                             "+repage", "-depth", "8", "rgb:-"], capture_output=True, timeout=60)
    check(result.returncode == 0, "cannot read %s" % path)
    return result.stdout


def wine_system_tray():
    """Where Wine shows the notification area when no desktop offers one: a
    small window of its own (x0, y0, x1, y1), or None."""
    tree = run("xwininfo", "-root", "-tree").stdout
    m = re.search(r'"Wine System Tray".*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)', tree)
    if not m:
        return None
    w, h, x, y = (int(v) for v in m.groups())
    return (x, y, x + w, y + h)


def blank(rgb, width, rect):
    """A copy of the RGB bytes with a rectangle set to zero."""
    out = bytearray(rgb)
    x0, y0, x1, y1 = rect
    for y in range(y0, y1):
        out[(y * width + x0) * 3:(y * width + x1) * 3] = bytes((x1 - x0) * 3)
    return bytes(out)


def pixel(rgb, width, x, y):
    at = (y * width + x) * 3
    return tuple(rgb[at:at + 3])


def blended(r, g, b, alpha, behind):
    """A skin pixel (straight colour and alpha) laid over a colour behind it."""
    return [round(c * alpha / 255) + round(d * (255 - alpha) / 255)
            for c, d in zip((r, g, b), behind)]


def near(got, want, tolerance=3):
    return all(abs(p - q) <= tolerance for p, q in zip(got, want))


def see_through_pixels(png, low=3, high=60):
    """Pixels of a skin picture that are mostly see-through but not cut away
    (alpha 3-60; 0-2 are cut from a Desktop window): (x, y, straight r, g, b, alpha)."""
    out = run("convert", png, "txt:-").stdout
    found = []
    for m in re.finditer(r"^(\d+),(\d+): \((\d+),(\d+),(\d+),(\d+)\)", out, re.M):
        v = [int(g) for g in m.groups()]
        if low <= v[5] <= high:
            found.append(v)
    return found


def menu_windows(env, program="vorlamet_host.exe"):
    """The host's menus on screen: visible windows of the host that are neither
    the meter nor its desktop."""
    found = []
    for wid in run("xdotool", "search", "--onlyvisible", "--classname",
                   program).stdout.split():
        title = run("xdotool", "getwindowname", wid).stdout.strip()
        geometry = run("xdotool", "getwindowgeometry", wid).stdout
        if title not in ("Vorlamet desktop layer", "Vorlamet host desktop") and \
                "Geometry: %dx%d" % (SKIN_W, SKIN_H) not in geometry:
            found.append(wid)
    return found


def choose_from_tray_menu(env, host, key):
    """Opens the icon's menu as a right-click on it does, and picks an item by its key."""
    before = host.count(r"^TrayMenu$")
    check("posted" in env.probe("tray", "menu"), "the probe found the icon's window")
    host.wait_count(r"^TrayMenu$", before + 1)
    wait_until(lambda: menu_windows(env), "the tray menu on screen")
    xdo("key", key)


def open_menu_and_choose_properties(env, host, point, shot, close=True):
    """Right-click at point, choose Properties; the settings dialog it opens is
    closed with Cancel, or answered when close is false. With a dialog open
    already, that one comes to the front and is answered."""
    before = len([l for l in host.log() if "HostMsgShowProperties" in l])
    opened = host.count(r"^Properties open")
    closed = host.count(r"^Properties closed$")
    fronted = host.count(r"^Properties to front$")
    xdo("mousemove", *point)
    settle()
    xdo("click", 3)
    host.wait_line(r"^HostMsgMenuEnter")
    menu = wait_until(lambda: [w for w in run("xdotool", "search", "--onlyvisible", "--classname",
                                             "vorlamet_host.exe").stdout.split()
                               if x_position(w) == point], "the menu window at the pointer")
    shot = env.screenshot(shot)
    geometry = run("xdotool", "getwindowgeometry", menu[0]).stdout
    size = [int(v) for v in re.search(r"Geometry: (\d+)x(\d+)", geometry).groups()]
    check(mean_brightness(shot, (point[0], point[1], point[0] + size[0], point[1] + size[1]))
          > 0.5, "the screenshot shows the light menu at the pointer")
    xdo("mousemove", point[0] + 20, point[1] + 10)
    settle()
    xdo("click", 1)
    host.wait_line(r"^HostMsgMenuLeave")
    wait_until(lambda: len([l for l in host.log()
                            if l == 'HostMsgShowProperties "/Vorlamet"']) > before,
               "HostMsgShowProperties \"/Vorlamet\"")
    check(not x_viewable(menu[0]), "the menu closed")
    if opened > closed:
        host.wait_count(r"^Properties to front$", fronted + 1)
        dialogs = [d for d in env.dialogs() if PAGE_LIST in d["controls"]]
        check(len(dialogs) == 1 and host.count(r"^Properties open") == opened,
              "one settings dialog at a time")
        return dialogs[0]
    dialog = wait_for_settings(env, host, opened + 1)
    if close:
        click_control(dialog, IDCANCEL)
        host.wait_count(r"^Properties closed$", closed + 1)
        return None
    return dialog


# --- the settings dialog, as a person drives it ---------------------------

# Control ids of the host's settings dialog: a row's controls are
# ROW_BASE + row * PARTS + part.
IDOK, IDCANCEL = 1, 2
PAGE_LIST, PAGE_HEADING, HELP_TEXT = 100, 101, 102
ROW_BASE, PARTS = 1000, 6
LABEL, EDITOR, BUTTON = 0, 1, 2


def row_id(row, part):
    return ROW_BASE + row * PARTS + part


def settings_dialog(env):
    """The open settings dialog (the one with the page list), or None."""
    return next((d for d in env.dialogs() if PAGE_LIST in d["controls"]), None)


def message_box(env):
    return next((d for d in env.dialogs() if PAGE_LIST not in d["controls"]), None)


def wait_for_settings(env, host, opened):
    host.wait_count(r"^Properties open", opened)
    return wait_until(lambda: settings_dialog(env), "the settings dialog")


def click_control(dialog, control_id):
    x0, y0, x1, y1 = dialog["controls"][control_id]["rect"]
    xdo("mousemove", (x0 + x1) // 2, (y0 + y1) // 2)
    settle()
    xdo("click", 1)


def control_shows(env, control_id, what, predicate):
    """Waits until the settings dialog's control satisfies predicate."""
    def shown():
        dialog = settings_dialog(env)
        control = dialog and dialog["controls"].get(control_id)
        return dialog if control and predicate(control) else None
    return wait_until(shown, what)


def show_page(env, title):
    """Clicks the page's entry in the page list."""
    pages = settings_dialog(env)["controls"][PAGE_LIST]
    index = pages["items"].index(title)
    x0, y0, _, _ = pages["rect"]
    height = pages["item_height"]
    xdo("mousemove", x0 + 20, y0 + 2 + index * height + height // 2)
    settle()
    xdo("click", 1)
    return control_shows(env, PAGE_HEADING, "the page " + title, lambda c: c["text"] == title)


def type_into(env, row, text):
    """Replaces a field's text by typing, as a person does."""
    click_control(settings_dialog(env), row_id(row, EDITOR))
    xdo("key", "End")
    xdo("key", "shift+Home")
    xdo("type", text)
    control_shows(env, row_id(row, EDITOR), "%r typed" % text, lambda c: c["text"] == text)


def answer_message(env, host, log_pattern, count, *words):
    """Waits for the count-th log line of the pattern and the message box;
    checks that the message holds each word, then closes it with its OK
    button."""
    host.wait_count(log_pattern, count)
    box = wait_until(lambda: message_box(env), "a message box")
    text = " ".join(c["text"] for c in box["controls"].values())
    for word in words:
        check(word in text, "the message names %r: %s" % (word, text))
    click_control(box, IDOK)
    wait_until(lambda: message_box(env) is None, "the message box closed")
    return text
