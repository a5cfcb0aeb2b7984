#!/usr/bin/env python3
"""Compares two release kits with their signatures stripped: the same files,
every binary the same once `osslsigncode remove-signature` has taken its
signature off (a signed kit's binaries against an unsigned build's, or two
builds signed at different times), every other file the same byte for byte,
and each kit's own SHA256SUMS true for its files. It says whether the two
are also the same byte for byte, signatures and all.

    scripts/compare_kits.py KIT.zip OTHER-KIT.zip
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import zipfile

SUMS = "vorlamet-kit/SHA256SUMS"


def signed(data):
    """Whether a PE file carries a certificate table (a signature)."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return False
    pe = int.from_bytes(data[0x3C:0x40], "little")
    if data[pe:pe + 4] != b"PE\0\0":
        return False
    optional = pe + 24
    return int.from_bytes(data[optional + 96 + 8 * 4 + 4:optional + 96 + 8 * 5], "little") > 0


def stripped(name, data, work):
    """The file as it was before it was signed."""
    if not signed(data):
        return data
    unsigned_in = os.path.join(work, "in")
    unsigned_out = os.path.join(work, "out")
    with open(unsigned_in, "wb") as f:
        f.write(data)
    if os.path.exists(unsigned_out):
        os.remove(unsigned_out)
    done = subprocess.run(["osslsigncode", "remove-signature", "-in", unsigned_in,
                           "-out", unsigned_out], capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit("compare_kits: cannot strip the signature of %s: %s"
                         % (name, done.stdout + done.stderr))
    with open(unsigned_out, "rb") as f:
        return f.read()


def files(path):
    with zipfile.ZipFile(path) as kit:
        return {name: kit.read(name) for name in kit.namelist()}


def false_sums(kit):
    """The files a kit's own SHA256SUMS is wrong or silent about."""
    summed = {}
    for line in kit.get(SUMS, b"").decode().splitlines():
        digest, name = line.split(None, 1)
        summed["vorlamet-kit/" + name.lstrip("*")] = digest
    return [n for n, data in sorted(kit.items())
            if n != SUMS and summed.get(n) != hashlib.sha256(data).hexdigest()]


def compare(one_path, two_path):
    """(differences, the signed binaries that differ in their signatures only)"""
    one, two = files(one_path), files(two_path)
    differences = []
    for path, kit in ((one_path, one), (two_path, two)):
        differences += ["%s: its SHA256SUMS is wrong about %s" % (path, n) for n in false_sums(kit)]
    for name in sorted(set(one) ^ set(two)):
        differences.append("%s is in only one kit (%s)" % (name, one_path if name in one else two_path))
    signatures = sorted(n for n in set(one) | set(two)
                        if signed(one.get(n, b"")) or signed(two.get(n, b"")))
    with tempfile.TemporaryDirectory() as work:
        for name in sorted(set(one) & set(two) - {SUMS}):
            if stripped(name, one[name], work) != stripped(name, two[name], work):
                differences.append("%s differs%s" % (
                    name, " with its signature stripped" if name in signatures else ""))
    resigned = [n for n in signatures if one.get(n) != two.get(n) and
                not any(d.startswith(n + " ") for d in differences)]
    return differences, resigned


def main():
    if len(sys.argv) != 3:
        print("compare_kits: usage: scripts/compare_kits.py KIT.zip OTHER-KIT.zip", file=sys.stderr)
        sys.exit(2)
    for path in sys.argv[1:]:
        if not zipfile.is_zipfile(path):
            print("compare_kits: %s is not a zip file" % path, file=sys.stderr)
            sys.exit(2)
    differences, resigned = compare(sys.argv[1], sys.argv[2])
    for d in differences:
        print("compare_kits: " + d)
    if differences:
        print("compare_kits: the kits differ")
        sys.exit(1)
    if not resigned:
        print("compare_kits: the kits hold the same files, byte for byte")
    else:
        print("compare_kits: the kits hold the same files; %d binaries differ only in their "
              "signatures (%s)" % (len(resigned), ", ".join(n.split("/")[-1] for n in resigned)))


if __name__ == "__main__":
    main()
