#!/usr/bin/env python3
"""The include rules of the plug-in's areas and of the kit, checked on the sources.

The plug-in: the five areas include one another one way down: no circle
between two areas (directly or through others), and no area includes
plugin/, which starts and stops them all. No plug-in file includes shell/,
the host kit. host/ and win32/ include no product folder.

The kit (shell/): the host program's feature folders (shell/kit/*) include
one another one way down, in the order of KIT_ORDER; the two libraries never
include the host program, nor each other; what they share (skin_files/,
pictures/) includes none of them. Of the plug-in the kit reads only the
platform-free rules a skin check must read the same way. A file under a
rules/ folder reaches no Win32 header, also not through another header, and
includes nothing of the Win32 part of a feature: it builds natively.

Prints both graphs; the exit status is 1 when a rule is broken, each broken
include named.

Usage: check_includes.py [ROOT]   (ROOT: the tree to check, default: ours)
"""
import os
import re
import sys

AREAS = ["plugin", "window", "sampling", "render", "settings"]
SHARED = ["host", "win32"]
PRODUCT = AREAS + ["shell"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)
# The system's Windows headers (the C and C++ libraries' are fine anywhere).
WIN32_HEADER = re.compile(
    r"^(windows|win\w*|\w*api|commctrl|commdlg|shlobj|shlwapi|objbase|ole2|oleauto|unknwn"
    r"|wincodec|psapi|tlhelp32|mmsystem|dwmapi|ws2tcpip|uxtheme|richedit|ntdef|ntstatus)\.h$",
    re.I)

# The kit's top folders and which of them each may include.
SHELL_MAY_INCLUDE = {
    "kit": {"kit", "tolvric", "skin_files", "pictures"},
    "tolvric": {"tolvric", "skin_files", "pictures"},
    "plasmyr": {"plasmyr", "pictures"},
    "skin_files": {"skin_files"},
    "pictures": {"pictures"},
}
# The host program's features, each above those it may include.
KIT_ORDER = ["program", "tray", "settings_dialog", "autostart", "skin_follow", "display_scale",
             "skin_check", "desktop", "session", "configuration", "screenshot", "log"]
# The plug-in's platform-free rules that a skin check reads as the plug-in does.
PLUGIN_RULES_FOR_THE_KIT = {"render/frame_select.h", "settings/text_template.h"}


def includes(root, folder):
    """(file, included folder, included path) for every quoted include."""
    for base, _, names in os.walk(os.path.join(root, folder)):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(base, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            for target in INCLUDE.findall(text):
                yield os.path.relpath(path, root), target.split("/")[0], target


def find_cycle(edges):
    """One circle of areas as a list, or None."""
    state = {}

    def visit(area, trail):
        state[area] = "open"
        for nxt in sorted(edges.get(area, ())):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[area] = "done"
        return None

    for area in AREAS:
        if area not in state:
            found = visit(area, [area])
            if found:
                return found
    return None


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def reaches_win32(root, header, seen):
    """The Win32 header a project header reaches, itself or through others, or None."""
    path = os.path.join(root, header)
    if header in seen or not os.path.isfile(path):
        return None
    seen.add(header)
    text = read(path)
    for name in SYSTEM_INCLUDE.findall(text):
        if WIN32_HEADER.match(os.path.basename(name)):
            return f"<{name}>"
    for target in INCLUDE.findall(text):
        found = reaches_win32(root, target, seen)
        if found:
            return f"{found} through {target}"
    return None


def check_rules_file(root, path, broken):
    """A file under rules/: no Win32 header, directly or through another header."""
    text = read(os.path.join(root, path))
    for name in SYSTEM_INCLUDE.findall(text):
        if WIN32_HEADER.match(os.path.basename(name)):
            broken.append(f"{path}: includes <{name}>: rules/ includes no Win32 header")
    for target in INCLUDE.findall(text):
        if target.startswith("shell/") and "/rules/" not in target:
            broken.append(f"{path}: includes {target}: rules/ includes only rules, "
                          "not the Win32 part of a feature")
            continue
        found = reaches_win32(root, target, set())
        if found:
            broken.append(f"{path}: includes {target}, which reaches {found}: "
                          "rules/ includes no Win32 header")


def check_kit(root, broken):
    """The kit's rules; answers the edges between the host program's features."""
    kit_edges = {feature: set() for feature in KIT_ORDER}
    for base, dirs, names in os.walk(os.path.join(root, "shell")):
        dirs.sort()
        if "rules" in os.path.relpath(base, root).split(os.sep):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    check_rules_file(root, os.path.relpath(os.path.join(base, name), root), broken)
    for path, folder, target in includes(root, "shell"):
        parts = path.replace(os.sep, "/").split("/")
        top = parts[1] if len(parts) > 2 else ""
        if top not in SHELL_MAY_INCLUDE:
            broken.append(f"{path}: shell/{top}/ is not one of the kit's folders")
            continue
        if folder in AREAS:
            if target not in PLUGIN_RULES_FOR_THE_KIT:
                broken.append(f"{path}: includes {target}: of the plug-in the kit reads "
                              "only " + ", ".join(sorted(PLUGIN_RULES_FOR_THE_KIT)))
            continue
        if folder != "shell":
            continue
        to = target.split("/")
        if len(to) < 3 or to[1] not in SHELL_MAY_INCLUDE[top]:
            broken.append(f"{path}: includes {target}: shell/{top}/ may include only "
                          + ", ".join(f"shell/{f}/" for f in sorted(SHELL_MAY_INCLUDE[top])))
            continue
        if top != "kit" or to[1] != "kit":
            continue
        mine, theirs = parts[2], to[2]
        if mine not in KIT_ORDER or theirs not in KIT_ORDER:
            unknown = mine if mine not in KIT_ORDER else theirs
            broken.append(f"{path}: includes {target}: shell/kit/{unknown}/ has no place "
                          "in the features' order")
            continue
        if KIT_ORDER.index(theirs) < KIT_ORDER.index(mine):
            broken.append(f"{path}: includes {target}: shell/kit/{theirs}/ is above "
                          f"shell/kit/{mine}/, which may include only the features below it")
        elif theirs != mine:
            kit_edges[mine].add(theirs)
    return kit_edges


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    broken = []
    edges = {area: set() for area in AREAS}
    witness = {}
    for area in AREAS:
        for path, folder, target in includes(root, area):
            if folder == "shell":
                broken.append(f"{path}: includes {target}: the plug-in never includes shell/")
            elif folder == "plugin" and area != "plugin":
                broken.append(f"{path}: includes {target}: no area includes plugin/")
            elif folder in AREAS and folder != area:
                edges[area].add(folder)
                witness.setdefault((area, folder), f"{path} includes {target}")
    for folder in SHARED:
        for path, included, target in includes(root, folder):
            if included in PRODUCT:
                broken.append(f"{path}: includes {target}: {folder}/ knows no product")
    kit_edges = check_kit(root, broken)
    cycle = find_cycle(edges)
    if cycle:
        steps = [witness[(a, b)] for a, b in zip(cycle, cycle[1:])]
        broken.append("circle " + " -> ".join(cycle) + ": " + "; ".join(steps))

    print("include graph of the plug-in's areas (besides host/ and win32/):")
    for area in AREAS:
        print(f"  {area:9} -> {', '.join(sorted(edges[area])) or '(none)'}")
    print("include graph of the host program's features (besides the kit's shared folders):")
    for feature in KIT_ORDER:
        print(f"  {feature:15} -> {', '.join(sorted(kit_edges[feature])) or '(none)'}")
    for line in broken:
        print("include check: " + line, file=sys.stderr)
    print("include check: " + ("FAILED" if broken else "passed"))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
