#!/usr/bin/env python3
"""Generates the test skin (skins/test/) and the bad picture files for tests
(tests/data/). Deterministic: the same files on every run.

Layout of the 200 x 100 skin: a rounded panel with a soft edge; four meter
bars of 40 x 20 at x 12, rows at y 8, 30, 52 and 74, each text centred at
x 130 on its row."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png import encode_png, write_png  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIN = os.path.join(ROOT, "skins", "test")
DATA = os.path.join(ROOT, "tests", "data")

WIDTH, HEIGHT = 200, 100
RADIUS = 16
FRAMES, FRAME_W, FRAME_H = 11, 40, 20
MAGENTA = (255, 0, 255, 255)
METERS = [  # name, colour, INI prefix, text format
    ("cpu", (90, 220, 110), "CPU", "CPU %i%"),
    ("mem", (80, 160, 255), "MEM", "%i MB"),
    ("netin", (255, 170, 60), "NetIn", "In %i"),
    ("netout", (200, 110, 255), "NetOut", "Out %i"),
]
ROWS_Y = [8, 30, 52, 74]


def rounded_coverage(x, y, width, height, radius, soft):
    """0..1: how far pixel (x, y) lies inside a rounded rectangle, with a soft
    edge of `soft` pixels."""
    cx = min(max(x + 0.5, radius), width - radius)
    cy = min(max(y + 0.5, radius), height - radius)
    distance = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
    inside = radius - distance  # > 0 inside
    return min(max(inside / soft, 0.0), 1.0), inside


def background(masked=False):
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            coverage, inside = rounded_coverage(x, y, WIDTH, HEIGHT, RADIUS, 3.0)
            shade = 40 + (y * 30) // HEIGHT
            colour = (shade, shade + 8, shade + 24)
            if 1.0 / 3 < coverage < 2.0 / 3:  # a light rim inside the soft edge
                colour = (150, 160, 190)
            if masked:
                row.append(colour + (255,) if coverage >= 0.5 else MAGENTA)
            else:
                alpha = int(round(coverage * 230))
                if alpha == 0 and inside > -2.0:  # a faint halo just outside the corners
                    alpha = 2 if inside > -1.0 else 1
                row.append(colour + (alpha,))
        rows.append(row)
    return rows


def strip(colour, masked=False):
    rows = []
    for y in range(FRAME_H):
        row = []
        for frame in range(FRAMES):
            filled = 2 + (frame * (FRAME_W - 4)) // (FRAMES - 1)
            for x in range(FRAME_W):
                track = 1 <= y < FRAME_H - 1 and 1 <= x < FRAME_W - 1
                bar = 3 <= y < FRAME_H - 3 and 2 <= x < filled
                if bar:
                    row.append(colour + (255,))
                elif track:
                    row.append((20, 24, 30, 255) if masked else (20, 24, 30, 150))
                else:
                    row.append(MAGENTA if masked else (0, 0, 0, 0))
        rows.append(row)
    return rows


def ini_text():
    lines = [
        "; The test skin: four meters over a rounded panel (made by tools/make_test_skin.py).",
        "; Picture paths are relative to this file's folder.",
        "[Quilbex]",
        "Z-Order=1",
        "X=100",
        "Y=100",
        "LockMode=0",
        "Skin=background.png",
    ]
    for (name, _, prefix, text), y in zip(METERS, ROWS_Y):
        lines += [
            "%sSkin=%s.png" % (prefix, name),
            "%sFramesCount=%d" % (prefix, FRAMES),
            "%sOffsetX=12" % prefix,
            "%sOffsetY=%d" % (prefix, y),
            "%sTextFormat=%s" % (prefix, text),
            "%sTextdX=130" % prefix,
            "%sTextdY=%d" % (prefix, y + FRAME_H // 2),
        ]
    lines += [
        "Font=Tahoma,8,bold",
        "FontColor=0xFFFFFF",
        "Elapse=1000",
        "MaxNetSpeed=0",
        "Transparency=0",
        "UseVXD=1",
    ]
    return "\r\n".join(lines) + "\r\n"


def main():
    os.makedirs(SKIN, exist_ok=True)
    os.makedirs(DATA, exist_ok=True)
    write_png(os.path.join(SKIN, "background.png"), WIDTH, HEIGHT, background())
    write_png(os.path.join(SKIN, "background_masked.png"), WIDTH, HEIGHT,
              background(masked=True), alpha=False)
    for name, colour, _, _ in METERS:
        write_png(os.path.join(SKIN, name + ".png"), FRAMES * FRAME_W, FRAME_H, strip(colour))
    write_png(os.path.join(SKIN, "cpu_masked.png"), FRAMES * FRAME_W, FRAME_H,
              strip(METERS[0][1], masked=True), alpha=False)
    with open(os.path.join(SKIN, "test.ini"), "w", newline="") as f:
        f.write(ini_text())

    # Bad pictures for the loader's tests.
    good = encode_png(8, 8, [[(255, 0, 0, 128)] * 8] * 8)
    with open(os.path.join(DATA, "empty.png"), "wb"):
        pass
    with open(os.path.join(DATA, "truncated.png"), "wb") as f:
        f.write(good[: len(good) // 2])
    with open(os.path.join(DATA, "text.png"), "w") as f:
        f.write("This is not a picture.\n")
    # A valid signature and header that claims 100000 x 100000 pixels.
    huge = bytearray(encode_png(1, 1, [[(0, 0, 0, 255)]]))
    import struct, zlib
    header = struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
    huge[16:29] = header
    huge[29:33] = struct.pack(">I", zlib.crc32(b"IHDR" + header) & 0xFFFFFFFF)
    with open(os.path.join(DATA, "huge.png"), "wb") as f:
        f.write(bytes(huge))
    # A known small picture: 4 x 2, top row red opaque, half-transparent green,
    # clear, white; bottom row blue opaque, 3 more of alpha 0..2 and 255 grey.
    known = [
        [(255, 0, 0, 255), (0, 255, 0, 128), (10, 20, 30, 0), (255, 255, 255, 255)],
        [(0, 0, 255, 255), (200, 100, 50, 1), (200, 100, 50, 2), (128, 128, 128, 255)],
    ]
    write_png(os.path.join(DATA, "known_alpha.png"), 4, 2, known)
    known_rgb = [
        [(255, 0, 255, 255), (1, 2, 3, 255), (255, 0, 255, 255)],
        [(10, 20, 30, 255), (255, 0, 255, 255), (254, 0, 255, 255)],
    ]
    write_png(os.path.join(DATA, "known_masked.png"), 3, 2, known_rgb, alpha=False)
    # The same masked picture as a 24-bit BMP (bottom-up rows, 4-byte aligned).
    write_bmp(os.path.join(DATA, "known_masked.bmp"), known_rgb)


def write_bmp(path, rows):
    import struct
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835,
                         0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels)


if __name__ == "__main__":
    main()
