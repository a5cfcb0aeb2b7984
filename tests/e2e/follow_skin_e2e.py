#!/usr/bin/env python3
"""End-to-end tests of following the skin's edits, Start with Windows,
editing the skin and opening its folder.
"""
from e2e_support import *  # noqa: F401,F403 (the shared helpers, by design)


RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def run_values():
    """The values under the user's Run key, read back from the registry: {name: text}."""
    out = run("wine", "reg", "query", RUN_KEY).stdout
    values = {}
    for line in out.splitlines():
        m = re.match(r"^\s+(\S+)\s+REG_(?:EXPAND_)?SZ\s+(.*?)\s*$", line.rstrip("\r"))
        if m:
            values[m.group(1)] = m.group(2)
    return values


def save_key(ini, key, value, how="inplace"):
    """Saves the INI file with key set, as editors save: in place, by writing a
    new file and renaming it over the old one, or by deleting and writing anew."""
    with open(ini, newline="") as f:
        lines = f.read().split("\r\n")
    lines = ["%s=%s" % (key, value) if l.startswith(key + "=") else l for l in lines]
    save_text(ini, "\r\n".join(lines), how)


def save_text(path, text, how="inplace"):
    if how == "rename":
        with open(path + ".tmp~", "w", newline="") as f:
            f.write(text)
        os.replace(path + ".tmp~", path)
        return
    if how == "recreate":
        os.remove(path)
    with open(path, "w", newline="") as f:
        f.write(text)


def menu_checks(env, host):
    """Opens the icon's menu and closes it again: (start, follow), its check marks."""
    before = host.count(r"^TrayMenu checks")
    check("posted" in env.probe("tray", "menu"), "the probe found the icon's window")
    host.wait_count(r"^TrayMenu checks", before + 1)
    line = [l for l in host.log() if l.startswith("TrayMenu checks")][-1]
    wait_until(lambda: menu_windows(env), "the tray menu on screen")
    xdo("key", "Escape")
    wait_until(lambda: not menu_windows(env), "the tray menu closed")
    m = re.match(r"^TrayMenu checks start (\d) follow (\d) scale \d$", line)
    return int(m.group(1)), int(m.group(2))


def updates_within(host, count, seconds):
    """Waits for count renewals of the meter's picture (the background drawn
    at its corner, in the service library's call log); answers the time taken."""
    def drawn():
        if not os.path.exists(host.call_log):
            return 0
        with open(host.call_log) as f:
            return len([l for l in f if l.startswith("DrawPicture 0 0 ")])
    start, first = time.monotonic(), drawn()
    wait_until(lambda: drawn() >= first + count, "%d renewals of the meter" % count, seconds)
    return time.monotonic() - start


def test_follow_skin_edits(env):
    # Saved edits show in the running meter without touching the kit: Elapse,
    # then a picture replaced by renaming. Turned off, it waits; turned on
    # again, it looks at what was saved meanwhile; the choice is remembered.
    # A Desktop meter renews its picture through the service library, whose
    # call log then counts the renewals.
    ini = env.skin_copy("follow", **{"Z-Order": 0, "LockMode": 0, "X": 40, "Y": 40,
                                     "Elapse": 2000})
    background = os.path.join(os.path.dirname(ini), "background.png")
    host = Host(env, ini)
    try:
        host.wait_line(r"^SkinWatch on 1 folder\(s\)$")
        save_key(ini, "Elapse", 200)
        host.wait_count(r"^SkinChange reload", 1)
        host.wait_count(r"^InitGlobalModule 0", 2)
        took = updates_within(host, 10, 15)
        check(took < 10, "ten renewals in %.1f s: every 200 ms, not 2000" % took)

        rect = env.meter_state()["rect"]
        look = region_signature(env.screenshot("follow_before"), rect)
        negated = background + ".new.png"
        run("convert", background, "-channel", "RGB", "-negate", "+channel", negated)
        os.replace(negated, background)
        host.wait_count(r"^SkinChange reload", 2)
        wait_until(lambda: not same_picture(
            region_signature(env.screenshot("follow_picture"), rect), look),
            "the new picture in the meter")

        choose_from_tray_menu(env, host, "f")
        host.wait_line(r"^SkinWatch off$")
        save_key(ini, "Elapse", 300, "rename")
        check(menu_checks(env, host) == (0, 0), "follow unchecked")
        check(host.count(r"^InitGlobalModule") == 3, "no reload while off: %s" % host.log())
        choose_from_tray_menu(env, host, "f")
        host.wait_count(r"^SkinChange reload", 3)
        host.wait_count(r"^InitGlobalModule 0", 4)
        choose_from_tray_menu(env, host, "f")
        host.wait_count(r"^SkinWatch off$", 2)
    finally:
        host.stop()
    host = Host(env, ini)
    try:
        host.wait_line(r"^SkinWatch off$")
        check(menu_checks(env, host)[1] == 0, "the choice remembered for this file")
        choose_from_tray_menu(env, host, "f")
        host.wait_line(r"^SkinWatch on 1 folder\(s\)$")
    finally:
        host.stop()


def test_follow_skin_errors(env):
    # An edit with an error: the meter keeps its look, the balloon and the log
    # give the error; the meter's own save on top of it says nothing new; the
    # mended file is reloaded; one with a warning is reloaded and says so.
    # Away from the notification area, whose balloon would take the drag.
    ini = env.skin_copy("followerrors", LockMode=0, X=300, Y=300)
    host = Host(env, ini)
    try:
        host.wait_line(r"^SkinWatch on 1 folder\(s\)$")
        rect = host.meter["rect"]
        # The panel's lower edge: no changing numbers or bars there.
        panel = (rect[0] + 10, rect[3] - 14, rect[2] - 10, rect[3] - 6)
        look = region_signature(env.screenshot("follow_errors_before"), panel)
        save_key(ini, "Skin", "gone.png", "rename")
        host.wait_line(r"^SkinChange kept the running skin: 1 error\(s\)$")
        host.wait_line(r'^SkinChange error: Skin: cannot load picture "gone.png"')
        host.wait_line(r"^TrayBalloon 1$")
        state = env.meter_state()
        check(state["visible"] and host.count(r"^InitGlobalModule") == 1 and
              host.count(r"^DoneModule") == 0, "the meter runs on: %s" % host.log())
        check(same_picture(region_signature(env.screenshot("follow_errors_kept"), panel), look),
              "the meter keeps its old look")

        drag(320, 320, 420, 370)
        wait_until(lambda: ini_value(ini, "X") == "400", "the drag saved")
        host.wait_line(r"^SkinChange still has errors$")
        check(host.count(r"^TrayBalloon") == 1, "one balloon: %s" % host.log())

        # Mended, with another change: reloaded.
        with open(ini, newline="") as f:
            text = f.read()
        save_text(ini, text.replace("Skin=gone.png", "Skin=background.png").replace(
            "Elapse=800", "Elapse=700"), "rename")
        host.wait_line(r"^SkinChange reload")
        host.wait_count(r"^InitGlobalModule 0", 2)
        wait_until(lambda: (env.meter_state() or {}).get("rect", (0, 0))[:2] == (400, 350),
                   "the mended skin at the dragged place")

        # A reload with a warning (a bar's picture missing hides that bar) says why.
        balloons = host.count(r"^TrayBalloon 1$")
        save_key(ini, "MEMSkin", "gone.png", "rename")
        host.wait_line(r"^SkinChange reload shows it with 1 warning\(s\)$")
        host.wait_line(r'^SkinChange warning: MEMSkin: cannot load picture "gone.png"')
        host.wait_count(r"^InitGlobalModule 0", 3)
        host.wait_count(r"^TrayBalloon 1$", balloons + 1)
    finally:
        host.stop()


def test_follow_skin_bursts(env):
    # Ten saves in a row, in place, renamed over and deleted and written anew,
    # give one reload; a file an editor holds open for writing is not read
    # until it is closed; a save of the same bytes gives none.
    ini = env.skin_copy("followburst", LockMode=0, X=40, Y=40)
    host = Host(env, ini)
    try:
        host.wait_line(r"^SkinWatch on 1 folder\(s\)$")
        for i in range(10):
            save_key(ini, "Elapse", 300 + 10 * i, ("inplace", "rename", "recreate")[i % 3])
            time.sleep(0.05)  # a person saving again and again
        host.wait_count(r"^SkinChange reload", 1)
        host.wait_count(r"^InitGlobalModule 0", 2)

        with open(ini, newline="") as f:
            lines = f.read().replace("Elapse=390", "Elapse=700").split("\r\n")
        writer = subprocess.Popen(["wine", env.probe_exe, "write", win_path(ini)],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            check(writer.stdout.readline().strip() == "open", "the editor has the file")
            half = lines.index("[Quilbex]") + 3
            for line in lines[:half]:
                writer.stdin.write(line + "\n")
                writer.stdin.flush()
                check(writer.stdout.readline().strip() == "wrote", "a line written")
            host.wait_line(r"^SkinChange waiting: a file is being written$")
            for line in lines[half:]:
                writer.stdin.write(line + "\n")
            writer.stdin.close()
            check(writer.stdout.read().split()[-1] == "closed", "the editor closed the file")
        finally:
            writer.wait(30)
        host.wait_count(r"^SkinChange reload", 2)
        host.wait_count(r"^InitGlobalModule 0", 3)
        check(ini_value(ini, "Elapse") == "700", "the whole file written")

        # A slow machine may have logged an "unchanged" for a late notice of
        # a burst already: the save of the same bytes must give one more.
        unchanged = host.count(r"^SkinChange unchanged$")
        with open(ini, "rb") as f:
            same = f.read()
        with open(ini, "wb") as f:
            f.write(same)
        host.wait_count(r"^SkinChange unchanged$", unchanged + 1)
        check(host.count(r"^SkinChange reload") == 2 and host.count(r"^InitGlobalModule") == 3,
              "one reload per burst: %s" % host.log())
        check(not host.has_line(r"^SkinChange kept") and not host.has_line(r"^TrayBalloon"),
              "no half-written file was checked")
    finally:
        host.stop()


def test_follow_skin_own_writes(env):
    # The position the plug-in saves after a drag and the settings dialog's
    # Apply (which restarts the plug-in itself) start no reload.
    ini = env.skin_copy("followown", LockMode=0, X=40, Y=40)
    host = Host(env, ini)
    try:
        host.wait_line(r"^SkinWatch on 1 folder\(s\)$")
        drag(60, 60, 160, 110)
        wait_until(lambda: env.meter_state()["rect"][:2] == (140, 90), "the meter at 140,90")
        host.wait_line(r"^SkinChange own position 140 90$")

        descriptor = env.descriptor(layered=True)
        row = {r["key"]: i for i, r in enumerate(descriptor["rows"]) if r["key"]}
        check("posted" in env.probe("tray", "dblclick"), "double-click on the icon")
        wait_for_settings(env, host, 1)
        show_page(env, "Other Settings")
        type_into(env, row["Transparency"], "30")
        click_control(settings_dialog(env), IDOK)
        host.wait_count(r"^Properties applied 1 keys: Transparency$", 1)
        host.wait_line(r"^SkinChange unchanged$")
        check(ini_value(ini, "Transparency") == "30" and ini_value(ini, "X") == "140",
              "both writes in the file")
        check(host.count(r"^InitGlobalModule") == 2 and not host.has_line(r"^SkinChange reload"),
              "only the dialog restarted the plug-in: %s" % host.log())
    finally:
        host.stop()


def test_start_with_windows(env):
    # One Run value per INI file, read back from the registry: a registry
    # that refuses, two meters, one removed again; a value whose program is
    # gone is repaired at start; the windowed program writes itself (and
    # follows its skin's edits as well).
    a = env.skin_copy("autostart_a")
    b = env.skin_copy("autostart_b")
    windowed = win_path(os.path.join(env.bin_dir, "vorlamet.exe"))

    def command(ini, program=windowed):
        return '"%s" --config "%s"' % (program, win_path(ini))

    def switch(host, state):
        """Chooses Start with Windows; answers the name of the value written or removed."""
        done = r"^Autostart %s (Vorlamet-[0-9a-f]{16})" % ("on" if state else "off")
        before = host.count(done)
        choose_from_tray_menu(env, host, "s")
        host.wait_count(done, before + 1)
        host.wait_line(r"^Tray Start with Windows %d$" % state)
        return re.match(done, [l for l in host.log() if re.match(done, l)][-1]).group(1)

    host = Host(env, a)
    try:
        check(menu_checks(env, host) == (0, 1), "unchecked at first")
        # A registry that refuses: a message says why, and the mark stays off.
        check(env.probe("runkey", "lock").strip() == "locked", "the Run key locked")
        try:
            choose_from_tray_menu(env, host, "s")
            answer_message(env, host, r"^Autostart on failed: ", 1, "could not set itself",
                           "refused", "Nothing was changed")
            check(menu_checks(env, host) == (0, 1), "still unchecked")
        finally:
            env.probe("runkey", "unlock")
        name_a = switch(host, 1)
        check(run_values().get(name_a) == command(a), "the value: %s" % run_values())
        check(menu_checks(env, host)[0] == 1, "checked from the registry")
    finally:
        host.stop()
    host = Host(env, b)
    try:
        name_b = switch(host, 1)
        values = run_values()
        check(name_b != name_a and values.get(name_a) == command(a) and
              values.get(name_b) == command(b), "two meters, two values: %s" % values)
        check(switch(host, 0) == name_b, "the same value removed")
        values = run_values()
        check(name_b not in values and values.get(name_a) == command(a),
              "only the second removed: %s" % values)
    finally:
        host.stop()

    # The kit's folder moved: the value names a program that is gone.
    gone = "Z:\\nowhere\\old-kit\\vorlamet.exe --config %s" % win_path(a)
    check(run("wine", "reg", "add", RUN_KEY, "/v", name_a, "/t", "REG_SZ", "/d", gone,
              "/f").returncode == 0, "the old value written")
    host = Host(env, a)
    try:
        host.wait_line(r"^Autostart repaired %s: Z:\\nowhere\\old-kit\\vorlamet.exe is gone; "
                       r"it starts .*\\vorlamet.exe now$" % name_a)
        check(run_values().get(name_a) == command(a), "repaired: %s" % run_values())
        check(switch(host, 0) == name_a, "removed")
        check(name_a not in run_values(), "no value left: %s" % run_values())
    finally:
        host.stop()

    # The program for people, which has no log: read back from the registry.
    people = subprocess.Popen(["wine", os.path.join(env.bin_dir, "vorlamet.exe"), "--config",
                               win_path(b), "--seconds", "120"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        wait_until(lambda: env.meter_state(), "the meter of vorlamet.exe", 30)
        wait_until(lambda: "posted" in env.probe("tray", "menu"), "its icon", 30)
        wait_until(lambda: menu_windows(env, "vorlamet.exe"), "its menu")
        xdo("key", "s")
        wait_until(lambda: run_values().get(name_b) == command(b), "its value", 20)
        # It follows the skin's edits too.
        rect = env.meter_state()["rect"]
        look = region_signature(env.screenshot("windowed_before"), rect)
        background = os.path.join(os.path.dirname(b), "background.png")
        run("convert", background, "-channel", "RGB", "-negate", "+channel", background + "~")
        os.replace(background + "~", background)
        wait_until(lambda: not same_picture(
            region_signature(env.screenshot("windowed_followed"), rect), look),
            "the edited picture in the meter of vorlamet.exe", 20)
    finally:
        env.probe("quit")
        people.wait(30)
    check(run("wine", "reg", "delete", RUN_KEY, "/v", name_b, "/f").returncode == 0,
          "the value removed after the test")


def test_edit_skin_and_open_its_folder(env):
    # The icon's menu opens the skin's folder, and its INI file in the editor
    # for INI files (Wine's Notepad here). One host each: once another
    # program's window had the keyboard, Wine does not give it back to the
    # next menu.
    ini = env.skin_copy("editskin", LockMode=0, X=40, Y=40)
    for key, line, title in (("o", "Open skin folder", "editskin"),
                             ("e", "Edit skin settings", "vorlamet.ini - Notepad")):
        host = Host(env, ini)
        try:
            choose_from_tray_menu(env, host, key)
            host.wait_line(r"^Tray %s 1$" % line)
            wait_until(lambda: "closed" in env.probe("close", title), title, 30)
            wait_until(lambda: "nowindow" in env.probe("close", title), title + " closed", 30)
        finally:
            host.stop()


TESTS = [
    test_follow_skin_edits,
    test_follow_skin_errors,
    test_follow_skin_bursts,
    test_follow_skin_own_writes,
    test_start_with_windows,
    test_edit_skin_and_open_its_folder,
]
