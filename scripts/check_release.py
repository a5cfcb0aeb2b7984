#!/usr/bin/env python3
"""Checks a release kit (vorlamet-kit.zip) for what it promises its users:

- it holds exactly the files README.md lists, no driver and nothing else;
- SHA256SUMS inside it is true for every file;
- every binary carries the version resource of the VERSION file, and a kit
  built from uncommitted changes (--dirty) says so in each: 1.0.0+dirty, the
  private-build flag and its PrivateBuild text;
- no binary imports, or names for a run-time lookup, a network or web library;
- no binary asks for administrator rights (each program's manifest says
  asInvoker), and none is packed: standard sections only, the entry point in
  .text, no section both writable and executable, nothing appended.

    scripts/check_release.py [--dirty] out/vorlamet-kit.zip
"""
import hashlib
import os
import re
import struct
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KIT = "vorlamet-kit/"
BINARY_ENDINGS = (".exe", ".dll", ".plg")
# Libraries that talk to a network or the web, and the calls of the one
# network library the plug-in may load (IPHLPAPI, to read the adapters' byte
# counters) that would send something.
NETWORK = re.compile(
    rb"\b(ws2_32|wsock32|mswsock|wininet|winhttp|urlmon|dnsapi|netapi32|rasapi32|httpapi|"
    rb"websocket|webio|mpr\.dll|IcmpSendEcho\w*|SendARP|WSAStartup|InternetOpen\w*|"
    rb"URLDownloadToFile\w*)\b", re.IGNORECASE)
SECTIONS = {".text", ".data", ".rdata", ".eh_frame", ".bss", ".edata", ".idata", ".CRT",
            ".tls", ".rsrc", ".reloc"}
ELEVATED = re.compile(r'level\s*=\s*"(requireAdministrator|highestAvailable)"|'
                      r'uiAccess\s*=\s*"true"', re.IGNORECASE)
AS_INVOKER = re.compile(r'<requestedExecutionLevel\s+level="asInvoker"')
RT_VERSION, RT_MANIFEST = 16, 24
VS_FF_PRIVATEBUILD = 0x8


def version():
    return open(os.path.join(ROOT, "VERSION")).read().strip()


def documented_files():
    """The list under "The zip holds exactly these files" in README.md."""
    lines = open(os.path.join(ROOT, "README.md"), encoding="utf-8").read().splitlines()
    start = next(i for i, l in enumerate(lines) if "The zip holds exactly these files" in l)
    files = []
    for line in lines[start + 1:]:
        if line.startswith("    "):
            files.append(KIT + line.split()[0])
        elif files:
            break
    return sorted(files)


class Pe:
    """The parts of a 32-bit PE file the checks read."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        count, _, symbols_at, symbols, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
        # Names longer than 8 characters (.eh_frame) are "/N": N into the
        # string table behind the symbols, which strip keeps for them.
        strings_at = symbols_at + 18 * symbols
        self.end = strings_at + struct.unpack_from("<I", data, strings_at)[0] if symbols_at else 0
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x10B:
            raise ValueError("not a 32-bit PE file")
        self.entry = struct.unpack_from("<I", data, optional + 16)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(count):
            s = optional + optional_size + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("latin-1")
            if name.startswith("/") and symbols_at:
                at = strings_at + int(name[1:])
                name = data[at:data.index(b"\0", at)].decode("latin-1")
            size, address, raw_size, raw_at = struct.unpack_from("<IIII", data, s + 8)
            flags = struct.unpack_from("<I", data, s + 36)[0]
            self.sections.append((name, address, max(size, raw_size), raw_at, raw_size, flags))

    def offset(self, rva):
        for _, address, size, raw_at, _, _ in self.sections:
            if address <= rva < address + size:
                return raw_at + rva - address
        raise ValueError("address %#x lies in no section" % rva)

    def section_of(self, rva):
        return next((s[0] for s in self.sections if s[1] <= rva < s[1] + s[2]), None)

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def imports(self):
        """The libraries of the import table and of the delay-load one."""
        names = []
        for directory, size, name_at in ((1, 20, 12), (13, 32, 4)):
            rva, _ = self.directories[directory]
            at = self.offset(rva) if rva else None
            while at is not None and self.data[at:at + size] != bytes(size):
                names.append(self.text(struct.unpack_from("<I", self.data, at + name_at)[0]))
                at += size
        return names

    def resources(self, type_id):
        """The data of every resource of one numbered type."""
        rva, size = self.directories[2]
        if not size:
            return []
        base = self.offset(rva)
        found = []

        def walk(table, depth, wanted):
            named, numbered = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                if depth == 0 and name != type_id:
                    continue
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), depth + 1, wanted)
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    at = self.offset(data_rva)
                    found.append(self.data[at:at + data_size])

        walk(base, 0, type_id)
        return found


def version_info(blob):
    """((fixed file version, product version, file flags), {string name: value})
    of a VS_VERSIONINFO."""
    strings = {}
    fixed = None

    def align(p):
        return (p + 3) & ~3

    def node(at):
        nonlocal fixed
        length, value_length, text = struct.unpack_from("<HHH", blob, at)
        end = at + length
        key_end = at + 6
        while blob[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = blob[at + 6:key_end].decode("utf-16-le")
        value_at = align(key_end + 2)
        value_size = value_length * 2 if text else value_length
        value = blob[value_at:value_at + value_size]
        if key == "VS_VERSION_INFO" and len(value) >= 24:
            ms, ls, pms, pls, mask, flags = struct.unpack_from("<IIIIII", value, 8)
            fixed = ((ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF),
                     (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF), flags & mask)
        elif text and value_size:
            strings[key] = value.decode("utf-16-le").rstrip("\0")
        child = align(value_at + value_size)
        while child < end:
            child = align(node(child))
        return end

    node(0)
    return fixed, strings


def check_binary(name, data, version, dirty, problems):
    def problem(text):
        problems.append("%s: %s" % (name, text))

    try:
        pe = Pe(data)
    except (ValueError, struct.error) as e:
        return problem(str(e))
    # Imports, as the loader sees them, and what a run-time lookup would
    # name: LoadLibrary's and GetProcAddress's texts, in bytes or UTF-16.
    imports = pe.imports()
    if not imports:
        problem("has no import table")
    for library in imports:
        if NETWORK.search(library.encode()):
            problem("imports the network library " + library)
    texts = [data] + [w.replace(b"\0", b"") for w in re.findall(rb"(?:[\x20-\x7e]\0){4,}", data)]
    for match in sorted({m.group(0).decode() for t in texts for m in NETWORK.finditer(t)}):
        problem("names %s, which talks to a network" % match)

    # Nothing packed or appended.
    end = pe.end
    for section, _, _, raw_at, raw_size, flags in pe.sections:
        if section not in SECTIONS:
            problem("has the section %r, which no build of ours makes" % section)
        if flags & 0x20000000 and flags & 0x80000000:
            problem("section %s is both executable and writable" % section)
        end = max(end, raw_at + raw_size)
    if pe.section_of(pe.entry) != ".text":
        problem("its entry point lies in %s, not .text" % pe.section_of(pe.entry))
    certificates_at, certificates_size = pe.directories[4]  # a file offset, unlike the others
    if certificates_size:
        end = max(end, certificates_at + certificates_size)
    if len(data) > (end + 7) & ~7:
        problem("has %d bytes appended after its sections" % (len(data) - end))

    # Rights: a program's manifest says asInvoker; nothing asks for more.
    manifests = [m.decode("utf-8", "replace") for m in pe.resources(RT_MANIFEST)]
    if name.endswith(".exe") and not any(AS_INVOKER.search(m) for m in manifests):
        problem("has no manifest that says asInvoker")
    if any(ELEVATED.search(m) for m in manifests):
        problem("asks for administrator rights in its manifest")

    # What it is and which version.
    blobs = pe.resources(RT_VERSION)
    if len(blobs) != 1:
        return problem("has %d version resources, not 1" % len(blobs))
    fixed, strings = version_info(blobs[0])
    numbers = tuple(int(n) for n in version.split(".")) + (0,)
    flags = VS_FF_PRIVATEBUILD if dirty else 0
    if fixed != (numbers, numbers, flags):
        problem("its fixed version and flags are %s, not %s" % (fixed, (numbers, numbers, flags)))
    shown = version + ("+dirty" if dirty else "")
    want = {"FileVersion": shown, "ProductVersion": shown, "ProductName": "Vorlamet",
            "OriginalFilename": os.path.basename(name)}
    if dirty and not strings.get("PrivateBuild"):
        problem("has no PrivateBuild text, though built from uncommitted changes")
    if not dirty and "PrivateBuild" in strings:
        problem("says PrivateBuild %r, though built from a commit" % strings["PrivateBuild"])
    for key, value in want.items():
        if strings.get(key) != value:
            problem("%s is %r, not %r" % (key, strings.get(key), value))
    for key in ("FileDescription", "LegalCopyright"):
        if not strings.get(key):
            problem("has no " + key)


def check_kit(path, dirty=False):
    problems = []
    version_now = version()
    with zipfile.ZipFile(path) as kit:
        names = sorted(kit.namelist())
        listed = documented_files()
        for name in sorted(set(names) - set(listed)):
            problems.append("%s is in the zip but not in README.md's list" % name)
        for name in sorted(set(listed) - set(names)):
            problems.append("%s is in README.md's list but not in the zip" % name)
        files = {name: kit.read(name) for name in names}
    for name, data in files.items():
        if re.search(r"\.(sys|drv|vxd|inf|cat)$", name, re.IGNORECASE):
            problems.append(name + " is a driver's file")
        if name.lower().endswith(BINARY_ENDINGS) or data[:2] == b"MZ":
            check_binary(name, data, version_now, dirty, problems)
    sums = files.get(KIT + "SHA256SUMS", b"").decode()
    summed = {}
    for line in sums.splitlines():
        digest, file = line.split(None, 1)
        summed[KIT + file.lstrip("*")] = digest
    for name, data in files.items():
        if name != KIT + "SHA256SUMS" and summed.get(name) != hashlib.sha256(data).hexdigest():
            problems.append("SHA256SUMS is wrong or silent about " + name)
    return problems


def main():
    args = sys.argv[1:]
    dirty = args[:1] == ["--dirty"]
    if len(args) != 1 + dirty:
        print("check_release: usage: check_release.py [--dirty] KIT.zip", file=sys.stderr)
        sys.exit(2)
    problems = check_kit(args[-1], dirty)
    for p in problems:
        print("check_release: " + p, file=sys.stderr)
    if problems:
        sys.exit(1)
    print("check_release: %s: the listed files, versions%s, no network library, asInvoker, "
          "nothing packed" % (args[-1], " (+dirty)" if dirty else ""))


if __name__ == "__main__":
    main()
