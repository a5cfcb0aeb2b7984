#!/usr/bin/env python3
"""The include rules of the plug-in's areas, checked on the sources.

The five areas include one another one way down: no circle between two
areas (directly or through others), and no area includes plugin/, which
starts and stops them all. No plug-in file includes shell/, the host kit.
host/ and win32/ include no product folder. Prints the area graph; the exit
status is 1 when a rule is broken, each broken include named.

Usage: check_includes.py [ROOT]   (ROOT: the tree to check, default: ours)
"""
import os
import re
import sys

AREAS = ["plugin", "window", "sampling", "render", "settings"]
SHARED = ["host", "win32"]
PRODUCT = AREAS + ["shell"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


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
    cycle = find_cycle(edges)
    if cycle:
        steps = [witness[(a, b)] for a, b in zip(cycle, cycle[1:])]
        broken.append("circle " + " -> ".join(cycle) + ": " + "; ".join(steps))

    print("include graph of the plug-in's areas (besides host/ and win32/):")
    for area in AREAS:
        print(f"  {area:9} -> {', '.join(sorted(edges[area])) or '(none)'}")
    for line in broken:
        print("include check: " + line, file=sys.stderr)
    print("include check: " + ("FAILED" if broken else "passed"))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
