#!/usr/bin/env python3
"""Ends each PE file on an 8-byte boundary, with zero bytes, and writes its
checksum for the new length. A signature is appended at such a boundary, so
that a signed file with its signature removed (osslsigncode remove-signature
truncates it there and writes the checksum again) is this file, byte for byte:
a signed kit can be compared with an unsigned build of the same commit.

    scripts/pe_align.py FILE...
"""
import struct
import sys


def checksum(data, field):
    """The PE checksum: the file's 16-bit words summed with their carries
    folded back in, the checksum field itself left out, plus the length (as
    ImageHlp's CheckSumMappedFile computes it)."""
    total = 0
    for at in range(0, len(data) - 1, 2):
        if field <= at < field + 4:
            continue
        total += data[at] | data[at + 1] << 8
        total = (total & 0xFFFF) + (total >> 16)
    if len(data) % 2:
        total += data[-1]
    total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def align(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    field = struct.unpack_from("<I", data, 0x3C)[0] + 88  # OptionalHeader.CheckSum
    data += bytes(-len(data) % 8)
    struct.pack_into("<I", data, field, checksum(data, field))
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    for path in sys.argv[1:]:
        align(path)
