#!/usr/bin/env python3
"""End-to-end tests of the kit's settings dialog: every page walked, values
applied and refused, without layered windows, and at 150 % display scale.
"""
from e2e_support import *  # noqa: F401,F403 (the shared helpers, by design)


GROUP, LIST, FONT, COLOR, PICTURE, TEXT, SWITCH = 0x13, 0x10, 0x0C, 0x06, 0x0E, 0x07, 0x101


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def changed_lines(before, after):
    """The (before, after) pairs of lines that differ; the line count must not."""
    a, b = before.split(b"\r\n"), after.split(b"\r\n")
    check(len(a) == len(b), "the same lines: %r -> %r" % (before, after))
    return [(x.decode(), y.decode()) for x, y in zip(a, b) if x != y]


def shown_value(row, ini):
    """What a row's editor must show: the configuration's value, else the
    row's default in the editor's form."""
    value = ini_value(ini, row["key"])
    if row["type"] == LIST:
        return row["options"][int(value) if value is not None else row["default"]]
    if value is not None:
        return value
    if row["type"] == FONT:
        return "Tahoma,8"
    if row["type"] == COLOR:
        return "%06X" % row["default"]
    return "" if row["type"] in (PICTURE, TEXT) else str(row["default"])


def walk_settings(env, descriptor, ini):
    """Visits every page by clicking its entry: each group of the descriptor
    is a page, each row is on its group's page with its caption and the
    configuration's value, and the help text is reachable."""
    dialog = settings_dialog(env)
    x0, y0, x1, y1 = dialog["rect"]
    check(x1 - x0 <= 800 and y1 - y0 <= 600, "the dialog fits 800 x 600: %s" % (dialog["rect"],))
    check(dialog["title"] == descriptor["name"], "titled %r" % dialog["title"])
    rows = descriptor["rows"]
    groups = [r["caption"] for r in rows if r["type"] == GROUP]
    check(dialog["controls"][PAGE_LIST]["items"] == groups + ["Help"],
          "one page per group: %s" % dialog["controls"][PAGE_LIST]["items"])
    seen = 0
    for title in groups:
        controls = show_page(env, title)["controls"]
        first = next(i for i, r in enumerate(rows) if r["type"] == GROUP and r["caption"] == title)
        for i in range(first + 1, len(rows)):
            row = rows[i]
            if row["type"] == GROUP:
                break
            label, editor = controls.get(row_id(i, LABEL)), controls.get(row_id(i, EDITOR))
            check(label and label["text"] == row["caption"] and editor,
                  "row %s shown on %s" % (row["key"], title))
            if row["type"] == SWITCH:
                on = int(ini_value(ini, row["key"]) or row["default"]) != 0
                check(editor["checked"] == int(on), "%s checked: %s" % (row["key"], on))
            else:
                check(editor["text"] == shown_value(row, ini),
                      "%s shows %r, not %r" % (row["key"], shown_value(row, ini), editor["text"]))
            if row["type"] == LIST:
                check(editor["items"] == row["options"], "%s offers %s" % (row["key"],
                                                                           editor["items"]))
            seen += 1
    check(seen + len(groups) == len(rows), "every row shown: %d of %d" % (seen, len(rows)))
    help_text = show_page(env, "Help")["controls"][HELP_TEXT]["text"]
    check(help_text.startswith("CPU, Memory and Net usage monitor"), "help: %r" % help_text[:60])


def test_settings_dialog(env):
    ini = env.skin_copy("settings", LockMode=0, X=40, Y=40)
    host = Host(env, ini)
    try:
        descriptor = env.descriptor(layered=True)
        row = {r["key"]: i for i, r in enumerate(descriptor["rows"]) if r["key"]}
        before = read_bytes(ini)
        open_menu_and_choose_properties(env, host, centre(host.meter["rect"]), "settings_menu",
                                        close=False)
        walk_settings(env, descriptor, ini)
        open_menu_and_choose_properties(env, host, centre(host.meter["rect"]), "settings_again",
                                        close=False)
        check(show_page(env, "Window Settings")["controls"][row_id(row["LockMode"], EDITOR)]
              ["items"] == ["Unlocked", "Lock Window", "Hide on mouse over", "Ghost mode"],
              "four lock modes")

        # The README's picture: the meter and its settings on the host's desktop.
        dialog = show_page(env, "Other Settings")
        meter = env.meter_state()["rect"]
        shot = env.screenshot("settings_other_page")
        left, top = min(meter[0], dialog["rect"][0]) - 20, min(meter[1], dialog["rect"][1]) - 20
        right, bottom = max(meter[2], dialog["rect"][2]) + 20, max(meter[3], dialog["rect"][3]) + 20
        run("convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
            "+repage", os.path.join(env.artifacts, "settings_dialog.png"))

        # Values outside the rules: a message naming the row and its range.
        for count, bad in enumerate(("100", "abc"), 1):
            type_into(env, row["Elapse"], bad)
            click_control(settings_dialog(env), IDOK)
            answer_message(env, host, r"^Properties invalid Elapse$", count, "Elapse", "200-5000",
                           bad)
            check(read_bytes(ini) == before, "nothing written for Elapse %s" % bad)
        type_into(env, row["Elapse"], "800")

        show_page(env, "Window Settings")
        click_control(settings_dialog(env), row_id(row["LockMode"], EDITOR))
        xdo("key", "Down")
        xdo("key", "Return")
        control_shows(env, row_id(row["LockMode"], EDITOR), "Lock Window picked",
                      lambda c: c["text"] == "Lock Window")
        show_page(env, "Other Settings")
        type_into(env, row["Transparency"], "30")
        click_control(settings_dialog(env), IDOK)
        host.wait_count(r"^Properties closed$", 1)
        # The lines after the change, read once the dialog has done with it.
        after = host.wait_count(r"^Properties applied 2 keys: LockMode Transparency$", 1)
        # A start names its scale first, then the plug-in starts.
        restart = [l for l in after if re.match(r"^(DoneModule|Scale |InitGlobalModule)", l)]
        check(len(restart) >= 3 and re.match(r"^DoneModule", restart[0]) and
              re.match(r"^Scale 96 ", restart[1]) and
              re.match(r"^InitGlobalModule -?\d+ window (?!0+:)", restart[2]),
              "the meter stopped and started again: %s" % restart[:3])
        check(changed_lines(before, read_bytes(ini)) ==
              [("LockMode=0", "LockMode=1"), ("Transparency=0", "Transparency=30")],
              "exactly the two keys changed: %s" % changed_lines(before, read_bytes(ini)))

        # Locked: a plain drag leaves the meter where it is (the SHIFT drag from
        # the same point only finds it there).
        wait_until(lambda: (env.meter_state() or {}).get("visible"), "the restarted meter")
        drag(60, 60, 160, 110)
        drag(60, 60, 90, 80, shift=True)
        wait_until(lambda: env.meter_state()["rect"][:2] == (70, 60), "a locked meter")
        wait_until(lambda: ini_value(ini, "X") == "70", "the new place saved")

        # A start that fails puts the previous file back and starts with it.
        before = read_bytes(ini)
        open_menu_and_choose_properties(env, host, centre(env.meter_state()["rect"]),
                                        "settings_menu_again", close=False)
        show_page(env, "Window Settings")
        type_into(env, row["Skin"], "gone.png")
        click_control(settings_dialog(env), IDOK)
        answer_message(env, host, r"^Properties start failed; previous settings restored$", 1,
                       "did not start", "gone.png")
        check(read_bytes(ini) == before, "the previous configuration is back")
        after = host.wait_count(r"^Properties applied 1 keys: Skin$", 1)
        after = [l for l in after if not l.startswith("Scale ")]
        check(re.match(r"^InitGlobalModule -?\d+ window 0+:", after[1]) and
              re.match(r"^InitGlobalModule -?\d+ window (?!0+:)", after[3]),
              "a failed start, then one with the previous file: %s" % after[:4])
        check(env.meter_state()["visible"], "the meter runs again")
        click_control(settings_dialog(env), IDCANCEL)
        host.wait_count(r"^Properties closed$", 2)
        check(read_bytes(ini) == before, "Cancel writes nothing")
    finally:
        host.stop()


def test_settings_without_layered_windows(env):
    ini = env.skin_copy("settings_nolayered", skin="painted")
    host = Host(env, ini, "--properties", extra_env={"TOLVRIC_NO_LAYERED": "1"})
    try:
        descriptor = env.descriptor(layered=False)
        rows = descriptor["rows"]
        check(rows[-1]["caption"] == "Use VXD driver" and
              "Transparency" not in [r["key"] for r in rows], "the driver switch instead")
        before = read_bytes(ini)
        wait_for_settings(env, host, 1)
        walk_settings(env, descriptor, ini)
        lock = row_id([r["key"] for r in rows].index("LockMode"), EDITOR)
        check(show_page(env, "Window Settings")["controls"][lock]["items"] ==
              ["Unlocked", "Lock Window", "Hide on mouse over"], "three lock modes")
        # Browse: a picture in the configuration's folder is stored relative to it.
        cpu = [r["key"] for r in rows].index("CPUSkin")
        click_control(show_page(env, "CPU Indicator Settings"), row_id(cpu, BUTTON))
        wait_until(lambda: [d for d in env.dialogs() if d["title"] == "Choose a picture"],
                   "the open-file dialog")
        xdo("type", win_path(os.path.join(os.path.dirname(ini), "mem.png")))
        xdo("key", "Return")
        control_shows(env, row_id(cpu, EDITOR), "the picked picture",
                      lambda c: c["text"] == "mem.png")
        switch = row_id(len(rows) - 1, EDITOR)
        click_control(show_page(env, "Other Settings"), switch)
        control_shows(env, switch, "the switch off", lambda c: c["checked"] == 0)
        env.screenshot("settings_without_layered")
        click_control(settings_dialog(env), IDOK)
        host.wait_count(r"^Properties applied 2 keys: CPUSkin UseVXD$", 1)
        host.wait_count(r"^Properties closed$", 1)
        check(changed_lines(before, read_bytes(ini)) ==
              [("CPUSkin=cpu.png", "CPUSkin=mem.png"), ("UseVXD=1", "UseVXD=0")],
              "only the picture and the switch changed")
    finally:
        host.stop()


def set_log_pixels(dpi):
    """The system's scale as each program started from now on reads it
    (None: the prefix's own, 96)."""
    key = "HKCU\\Control Panel\\Desktop"
    if dpi:
        run("wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    else:
        run("wine", "reg", "delete", key, "/v", "LogPixels", "/f")


def test_settings_at_150_percent(env):
    # At 144 dpi the dialog and its message grow with the system font, fit a
    # 1280 x 720 screen above a taskbar, and answer real input as at 100 %.
    ini = env.skin_copy("settings_150", LockMode=0, X=40, Y=40)
    set_log_pixels(144)
    host = None
    try:
        host = Host(env, ini, "--properties")
        descriptor = env.descriptor(layered=True)
        dialog = wait_for_settings(env, host, 1)
        x0, y0, x1, y1 = dialog["rect"]
        check(x1 - x0 <= 1280 and y1 - y0 <= 680 and x1 - x0 >= 700,
              "the dialog 1.5 times its size at 100 %%, within 1280 x 680: %s" % (dialog["rect"],))
        for control in dialog["controls"].values():
            cx0, cy0, cx1, cy1 = control["rect"]
            if control["class"] != "ComboBox":  # its height is the dropped list's
                check(x0 <= cx0 and cx1 <= x1 and y0 <= cy0 and cy1 <= y1,
                      "%r inside the dialog: %s" % (control["text"], control["rect"]))
        walk_settings(env, descriptor, ini)
        row = {r["key"]: i for i, r in enumerate(descriptor["rows"]) if r["key"]}
        show_page(env, "Other Settings")
        type_into(env, row["Elapse"], "100")
        click_control(settings_dialog(env), IDOK)
        host.wait_count(r"^Properties invalid Elapse$", 1)
        box = wait_until(lambda: message_box(env), "a message box")
        bx0, by0, bx1, by1 = box["rect"]
        check(0 <= bx0 and bx1 <= 1280 and 0 <= by0 and by1 <= 720,
              "the message on the screen: %s" % (box["rect"],))
        env.screenshot("settings_150_percent")
        click_control(box, IDOK)
        wait_until(lambda: message_box(env) is None, "the message box closed")
        click_control(settings_dialog(env), IDCANCEL)
        host.wait_count(r"^Properties closed$", 1)
    finally:
        if host:
            host.stop()
        set_log_pixels(None)


TESTS = [
    test_settings_dialog,
    test_settings_without_layered_windows,
    test_settings_at_150_percent,
]
