#!/usr/bin/env python3
"""The release check fails each broken kit with its reason: kits made from
the cross tree's binaries (scripts/make_kit.sh), each with one fault put in.

    tests/scripts/check_release_test.py BIN
"""
import os
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import check_release  # noqa: E402

K = "vorlamet-kit/"


def patch(old, new):
    def change(data):
        assert old in data, old
        return data.replace(old, new, 1)
    return change


VERSION = check_release.version()


def wide(text):
    return text.encode("utf-16-le")


# (what is wrong, the file it is wrong in, how, a part of the reason given[,
# checked as a build of uncommitted changes])
CASES = [
    ("a driver", K + "helper.sys", lambda _: b"MZ", "is a driver's file"),
    ("an unlisted file", K + "notes.txt", lambda _: b"x", "not in README.md's list"),
    ("a listed file missing", K + "docs/default-skin.gif", None, "but not in the zip"),
    ("a network import", K + "plasmyr.dll", patch(b"KERNEL32.dll\0", b"WS2_32.dll\0\0\0"),
     "imports the network library WS2_32.dll"),
    ("a run-time lookup", K + "tolvric.dll", patch(b"GetProcAddress", b"InternetOpenA\0"),
     "names InternetOpenA"),
    ("no asInvoker", K + "vorlamet.exe", patch(b'level="asInvoker"', b'level="asInvokeR"'),
     "no manifest that says asInvoker"),
    ("another version", K + "Vorlamet.plg",
     patch(wide("ProductVersion\0") + wide(VERSION),
           wide("ProductVersion\0") + wide(VERSION[:-1] + "98"[VERSION[-1] == "9"])),
     "ProductVersion is"),
    ("a packer's section", K + "vorlamet_host.exe", patch(b".text\0\0\0", b"UPX0\0\0\0\0"),
     "has the section 'UPX0'"),
    ("bytes appended", K + "plasmyr.dll", lambda data: data + b"payload!", "bytes appended"),
    ("a commit's build as uncommitted changes", K + "vorlamet_host.exe", lambda data: data,
     "ProductVersion is %r, not %r" % (VERSION, VERSION + "+dirty"), True),
    ("uncommitted changes without the flag", K + "tolvric.dll", lambda data: data,
     "has no PrivateBuild text", True),
]


def broken_kit(good, path, name, change):
    with zipfile.ZipFile(good) as kit:
        files = {n: kit.read(n) for n in kit.namelist()}
    if change is None:
        del files[name]
    else:
        files[name] = change(files.get(name, b""))
    with zipfile.ZipFile(path, "w") as kit:
        for n, data in files.items():
            kit.writestr(n, data)


def main():
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["bash", os.path.join(ROOT, "scripts/make_kit.sh"), sys.argv[1], work],
                       check=True, stdout=subprocess.DEVNULL)
        good = os.path.join(work, "vorlamet-kit.zip")
        failed = ["the good kit: %s" % p for p in check_release.check_kit(good)]
        for what, name, change, reason, *dirty in CASES:
            path = os.path.join(work, "broken.zip")
            broken_kit(good, path, name, change)
            problems = check_release.check_kit(path, *dirty)
            if not any(reason in p for p in problems):
                failed.append("%s: no %r among %s" % (what, reason, problems))
    for f in failed:
        print("check_release_test: " + f, file=sys.stderr)
    print("check_release_test: %d of %d cases failed" % (len(failed), len(CASES) + 1))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
