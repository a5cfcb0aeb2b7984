#!/usr/bin/env python3
"""Writes the host kit's icon (the programs' icon and the notification-area
icon): a dark rounded panel with three meter bars, at 16, 20, 24, 32 and 48
pixels, each a 32-bit picture with alpha and its mask, as every Windows since
XP reads them. Computed from plain arithmetic, so every run gives the same
bytes; the build makes it beside the programs' resources.

  python3 tools/make_icon.py OUT.ico
"""
import struct
import sys

SIZES = (16, 20, 24, 32, 48)
PANEL = (38, 44, 58)
# Bars from the left: height as a share of the panel's inside, colour.
BARS = ((0.45, (80, 200, 255)), (0.80, (110, 220, 120)), (0.60, (255, 170, 60)))
SAMPLES = 4  # per axis, for soft edges


def inside_rounded(x, y, size, radius):
    """Whether the point (in pixels) lies inside the rounded square."""
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y, size):
    """Straight RGBA (0..255, alpha 0..1) at a point of the picture."""
    if not inside_rounded(x, y, size, size * 0.2):
        return None
    margin = size * 0.18
    bottom = size - margin
    width = (size - 2 * margin) / (len(BARS) * 1.5 - 0.5)
    for i, (share, rgb) in enumerate(BARS):
        left = margin + i * width * 1.5
        if left <= x < left + width and bottom - share * (size - 2 * margin) <= y < bottom:
            return rgb
    return PANEL


def pixels(size):
    """Straight-alpha BGRA bytes, bottom row first, as an icon holds them."""
    rows = []
    for py in range(size):
        row = b""
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES, size)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = SAMPLES * SAMPLES
            if a:
                row += bytes((round(b / a), round(g / a), round(r / a), round(255 * a / n)))
            else:
                row += bytes(4)
        rows.append(row)
    return b"".join(reversed(rows))


def image(size):
    """One icon image: header, colour pixels, and the AND mask (all shown)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels(size) + bytes(mask_row * size)


def icon():
    images = [image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main()
