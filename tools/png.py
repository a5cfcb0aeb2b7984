"""A small PNG writer (standard library only): 8-bit RGB or RGBA, no filters."""
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(width, height, pixels, alpha=True):
    """pixels: rows top-down, each a list of (r, g, b, a) tuples (a ignored for RGB)."""
    channels = 4 if alpha else 3
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # filter type None
        for pixel in row:
            raw.extend(bytes(pixel[:channels]))
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def write_png(path, width, height, pixels, alpha=True):
    with open(path, "wb") as f:
        f.write(encode_png(width, height, pixels, alpha))
