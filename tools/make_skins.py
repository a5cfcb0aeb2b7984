#!/usr/bin/env python3
"""Generates the two shipped skins: their pictures and their INI files.

  skins/default/  the layered skin: a rounded, softly shaded background with
                  per-pixel alpha and four segmented bar strips with alpha.
  skins/painted/  the painted skin: a background without alpha whose shape
                  comes from the key colour magenta, and four arc-dial strips
                  without alpha whose transparent parts are magenta too.

Every picture is drawn at 1x, 1.5x and 2x (name.png, name@1.5x.png,
name@2x.png), so that the kit shows our skins drawn, not resampled, at 150 %
and 200 %: the shapes are computed at each scale from the same 1x geometry
(sizes scaled and rounded as the kit scales a skin's lengths). Every picture
is computed from plain arithmetic (no randomness, no clock), so running the
generator again gives the same bytes.

  python3 tools/make_skins.py           write the skins
  python3 tools/make_skins.py --check   fail when the committed files differ
"""
import math
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png import encode_png  # noqa: E402  (the shared PNG writer beside this script)

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
KEY = (255, 0, 255)  # the loader turns this colour into the mask

# ---------------------------------------------------------------- PNG output


def png_bytes(width, height, rows, alpha):
    """rows: top row first, each a sequence of RGBA or RGB pixel tuples."""
    return encode_png(width, height, rows, alpha)


def png_pixels(data):
    """Decodes what png_bytes writes: (width, height, colour type, raw rows)."""
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return header, zlib.decompress(idat)


class Canvas:
    """Straight-alpha RGBA floats, 0..1, top row first."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * width for _ in range(height)]

    def over(self, x, y, rgb, a):
        """Source-over of one straight-alpha colour (rgb 0..255) with alpha a."""
        if a <= 0.0:
            return
        a = min(a, 1.0)
        r0, g0, b0, a0 = self.px[y][x]
        out = a + a0 * (1.0 - a)
        if out <= 0.0:
            return
        k = a0 * (1.0 - a)
        self.px[y][x] = ((rgb[0] / 255.0 * a + r0 * k) / out, (rgb[1] / 255.0 * a + g0 * k) / out,
                         (rgb[2] / 255.0 * a + b0 * k) / out, out)

    def rows(self, alpha, key=None):
        """8-bit pixel rows; without alpha, pixels under half coverage become the key."""
        out = []
        for line in self.px:
            row = []
            for r, g, b, a in line:
                if alpha:
                    row.append((q(r), q(g), q(b), q(a)))
                elif key is not None and a < 0.5:
                    row.append(key)
                else:
                    row.append((q(r), q(g), q(b)))
            out.append(row)
        return out


def q(v):
    return max(0, min(255, int(v * 255.0 + 0.5)))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def rounded_rect_distance(x, y, left, top, right, bottom, radius):
    """Signed distance from the pixel centre to a rounded rectangle (negative inside)."""
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius
    dx, dy = abs(x + 0.5 - cx) - hx, abs(y + 0.5 - cy) - hy
    outside = math.sqrt(max(dx, 0.0) ** 2 + max(dy, 0.0) ** 2)
    return outside + min(max(dx, dy), 0.0) - radius


def coverage(distance):
    """Anti-aliased coverage of a pixel by a shape at a signed distance."""
    return clamp01(0.5 - distance)


# ---------------------------------------------------------- the layered skin

D_W, D_H = 220, 120
D_PANEL = (4, 3, 216, 115)  # left, top, right, bottom of the panel inside the shadow
D_ROWS = (23, 47, 71, 95)  # centre line of each meter row
D_BAR_X, D_BAR_W, D_BAR_H = 106, 100, 12
D_TEXT_X = 56
SEGMENTS = 20  # 21 frames: frame k lights k segments


SCALES = ((1.0, ""), (1.5, "@1.5x"), (2.0, "@2x"))


def scaled(length, s):
    """A 1x length at scale s, rounded half up as the kit rounds a skin's lengths."""
    return int(math.floor(length * s + 0.5))


def at_1x(pixel, s):
    """The 1x coordinate whose pixel centre (coordinate + 0.5) is the centre of
    the pixel at scale s: the drawing below is done in 1x units."""
    return (pixel + 0.5) / s - 0.5


def pixel_span(low, high, s):
    """The pixels at scale s that cover the 1x span [low, high)."""
    return range(max(0, int(math.floor(low * s))), int(math.ceil(high * s)))


def default_background(s=1.0):
    c = Canvas(scaled(D_W, s), scaled(D_H, s))
    left, top, right, bottom = D_PANEL
    top_colour, bottom_colour = (58, 68, 84), (22, 26, 34)
    for py in range(c.h):
        y = at_1x(py, s)
        for px in range(c.w):
            x = at_1x(px, s)
            # A soft shadow, one pixel lower, fading over four pixels.
            ds = rounded_rect_distance(x, y - 1.5, left, top, right, bottom, 13)
            c.over(px, py, (0, 0, 0), 0.45 * clamp01(1.0 - max(ds + 1.0, 0.0) / 4.0) ** 2)
            d = rounded_rect_distance(x, y, left, top, right, bottom, 12)
            cover = coverage(d * s)
            if cover <= 0.0:
                continue
            t = (y + 0.5 - top) / (bottom - top)
            colour = mix(top_colour, bottom_colour, t)
            # A gloss on the upper third and a light rim just inside the edge.
            if t < 0.35:
                colour = mix(colour, (255, 255, 255), 0.06 * (1.0 - t / 0.35))
            rim = clamp01(1.0 - abs(d + 1.0))
            colour = mix(colour, mix((150, 165, 190), (70, 78, 92), t), rim * 0.8)
            c.over(px, py, colour, cover * 0.92)
    # A recessed groove behind each bar.
    for cy in D_ROWS:
        gl, gt, gr, gb = D_BAR_X - 3, cy - 9, D_BAR_X + D_BAR_W + 2, cy + 9
        for py in pixel_span(gt - 1, gb + 2, s):
            y = at_1x(py, s)
            for px in pixel_span(gl - 1, gr + 2, s):
                x = at_1x(px, s)
                d = rounded_rect_distance(x, y, gl, gt, gr, gb, 4)
                edge = coverage(d * s) - coverage((d + 1.0) * s)
                if y + 0.5 > cy:  # lit lower lip, shaded upper lip
                    c.over(px, py, (120, 132, 150), edge * 0.35)
                else:
                    c.over(px, py, (0, 0, 0), edge * 0.5)
                c.over(px, py, (10, 12, 16), coverage((d + 1.0) * s) * 0.75)
    return c


def segment_colour(palette, j):
    """Colour of segment j (0..19) of a meter."""
    t = j / (SEGMENTS - 1.0)
    if palette == "cpu":  # green, through amber, to red
        return mix((70, 210, 90), (240, 200, 60), t / 0.6) if t < 0.6 else \
            mix((240, 200, 60), (235, 70, 55), (t - 0.6) / 0.4)
    if palette == "mem":
        return mix((120, 150, 255), (200, 110, 255), t)
    if palette == "netin":
        return mix((40, 170, 230), (90, 230, 240), t)
    return mix((240, 150, 40), (255, 210, 90), t)  # netout


def bar_strip(palette, s=1.0):
    """Segments are whole pixels at every scale (their edges rounded), so they
    stay crisp where 1.5x puts an edge inside a pixel."""
    frames = SEGMENTS + 1
    frame_w, height = scaled(D_BAR_W, s), scaled(D_BAR_H, s)
    c = Canvas(frame_w * frames, height)
    top, bottom = scaled(1, s), scaled(D_BAR_H - 1, s)
    for k in range(frames):
        for j in range(SEGMENTS):
            x0, x1 = k * frame_w + scaled(j * 5, s), k * frame_w + scaled(j * 5 + 4, s)
            lit = j < k
            base = segment_colour(palette, j)
            for y in range(top, bottom):
                for x in range(x0, x1):
                    if lit:
                        shade = (y - top) / float(max(1, bottom - top - 1))
                        colour = mix(mix(base, (255, 255, 255), 0.35), mix(base, (0, 0, 0), 0.25), shade)
                        c.over(x, y, colour, 1.0)
                    else:
                        c.over(x, y, mix(base, (60, 66, 78), 0.75), 0.55)
    return c


# ----------------------------------------------------------- the painted skin

P_W, P_H = 240, 84
P_PITCH, P_DIAL = 56, 44
P_DIAL_TOP = 8
P_TEXT_Y = 66
P_FACE = (16, 20, 24)
P_SWEEP_START, P_SWEEP = 225.0, 270.0  # degrees, counter-clockwise from +x; clockwise sweep


def dial_left(i):
    return (P_W - 4 * P_PITCH) // 2 + i * P_PITCH + (P_PITCH - P_DIAL) // 2


def painted_panel_colour(x, y):
    return mix((92, 104, 116), (50, 58, 66), (y + 0.5) / P_H)


def painted_background(s=1.0):
    c = Canvas(scaled(P_W, s), scaled(P_H, s))
    for py in range(c.h):
        y = at_1x(py, s)
        for px in range(c.w):
            x = at_1x(px, s)
            d = rounded_rect_distance(x, y, 0, 0, P_W, P_H, 10)
            if d > 0.0:
                continue  # the key colour, outside the window's shape
            colour = painted_panel_colour(x, y)
            if d > -2.0:  # a bevel: light on the upper left, dark on the lower right
                t = (x + 0.5 - P_W / 2.0) / P_W + (y + 0.5 - P_H / 2.0) / P_H
                colour = (170, 182, 194) if t < 0 else (24, 28, 32)
            c.over(px, py, colour, 1.0)
    for i in range(4):
        cx, cy = dial_left(i) + P_DIAL / 2.0, P_DIAL_TOP + P_DIAL / 2.0
        for py in pixel_span(P_DIAL_TOP - 2, P_DIAL_TOP + P_DIAL + 2, s):
            y = at_1x(py, s)
            for px in pixel_span(dial_left(i) - 2, dial_left(i) + P_DIAL + 2, s):
                x = at_1x(px, s)
                r = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                c.over(px, py, (200, 210, 220), coverage((r - P_DIAL / 2.0 - 1.0) * s) * 0.5)
                c.over(px, py, P_FACE, coverage((r - P_DIAL / 2.0) * s))
                # The unlit track of the arc.
                if in_sweep(x + 0.5 - cx, y + 0.5 - cy, 1.0):
                    c.over(px, py, (44, 52, 60), coverage((abs(r - 16.0) - 3.0) * s))
    return c


def in_sweep(dx, dy, fraction):
    """Whether a point lies within the first fraction of the dial's sweep."""
    angle = math.degrees(math.atan2(-dy, dx))
    travelled = (P_SWEEP_START - angle) % 360.0
    return travelled <= P_SWEEP * fraction + 1e-9


def dial_strip(palette, s=1.0):
    frames = SEGMENTS + 1
    size = scaled(P_DIAL, s)
    c = Canvas(size * frames, size)
    centre = P_DIAL / 2.0
    for k in range(1, frames):
        fraction = k / float(SEGMENTS)
        for y in range(size):
            for x in range(size):
                dx, dy = (x + 0.5) / s - centre, (y + 0.5) / s - centre
                cover = coverage((abs(math.hypot(dx, dy) - 16.0) - 3.0) * s)
                if cover <= 0.0 or not in_sweep(dx, dy, fraction):
                    continue
                travelled = ((P_SWEEP_START - math.degrees(math.atan2(-dy, dx))) % 360.0) / P_SWEEP
                colour = segment_colour(palette, min(SEGMENTS - 1, int(travelled * SEGMENTS)))
                # Edges blend into the dial face, which the strip always lies on.
                px = k * size + x
                c.over(px, y, P_FACE, 1.0)
                c.over(px, y, colour, cover)
    return c


# --------------------------------------------------------------- INI files

DEFAULT_INI = """; Vorlamet default skin: a translucent rounded panel drawn with per-pixel
; alpha (layered window), four segmented bars and their texts.
; Made by tools/make_skins.py; edit the generator, not this file.
[Quilbex]
Z-Order=1
X=40
Y=40
LockMode=0
Skin=background.png
CPUSkin=cpu.png
CPUFramesCount=21
CPUOffsetX={bx}
CPUOffsetY={y0}
CPUTextFormat=CPU %i%
CPUTextdX={tx}
CPUTextdY={r0}
MEMSkin=mem.png
MEMFramesCount=21
MEMOffsetX={bx}
MEMOffsetY={y1}
MEMTextFormat=Mem %i MB
MEMTextdX={tx}
MEMTextdY={r1}
NetInSkin=netin.png
NetInFramesCount=21
NetInOffsetX={bx}
NetInOffsetY={y2}
NetInTextFormat=In %iB/s
NetInTextdX={tx}
NetInTextdY={r2}
NetOutSkin=netout.png
NetOutFramesCount=21
NetOutOffsetX={bx}
NetOutOffsetY={y3}
NetOutTextFormat=Out %iB/s
NetOutTextdX={tx}
NetOutTextdY={r3}
Font=Tahoma,8,bold
FontColor=F5ECE6
Elapse=800
MaxNetSpeed=0
UseVXD=1
Transparency=0
"""

PAINTED_INI = """; Vorlamet painted skin: a background without alpha shaped by its magenta
; key colour (window region), four arc dials whose magenta parts are masked.
; Made by tools/make_skins.py; edit the generator, not this file.
[Quilbex]
Z-Order=1
X=40
Y=180
LockMode=0
Skin=background.png
CPUSkin=cpu.png
CPUFramesCount=21
CPUOffsetX={x0}
CPUOffsetY={dy}
CPUTextFormat=CPU %i%
CPUTextdX={t0}
CPUTextdY={ty}
MEMSkin=mem.png
MEMFramesCount=21
MEMOffsetX={x1}
MEMOffsetY={dy}
MEMTextFormat=%i MB
MEMTextdX={t1}
MEMTextdY={ty}
NetInSkin=netin.png
NetInFramesCount=21
NetInOffsetX={x2}
NetInOffsetY={dy}
NetInTextFormat=In %i
NetInTextdX={t2}
NetInTextdY={ty}
NetOutSkin=netout.png
NetOutFramesCount=21
NetOutOffsetX={x3}
NetOutOffsetY={dy}
NetOutTextFormat=Out %i
NetOutTextdX={t3}
NetOutTextdY={ty}
Font=Tahoma,8
FontColor=E0F0FF
Elapse=800
MaxNetSpeed=0
UseVXD=1
Transparency=0
"""


def ini_bytes(text):
    return text.replace("\n", "\r\n").encode("ascii")


def skin_files():
    """Every generated file: relative path -> bytes."""
    files = {}
    for s, suffix in SCALES:
        background = default_background(s)
        files["skins/default/background%s.png" % suffix] = png_bytes(
            background.w, background.h, background.rows(True), True)
        for name in ("cpu", "mem", "netin", "netout"):
            strip = bar_strip(name, s)
            files["skins/default/%s%s.png" % (name, suffix)] = png_bytes(strip.w, strip.h, strip.rows(True), True)
        background = painted_background(s)
        files["skins/painted/background%s.png" % suffix] = png_bytes(
            background.w, background.h, background.rows(False, KEY), False)
        for name in ("cpu", "mem", "netin", "netout"):
            strip = dial_strip(name, s)
            files["skins/painted/%s%s.png" % (name, suffix)] = png_bytes(
                strip.w, strip.h, strip.rows(False, KEY), False)
    rows = {"y%d" % i: cy - D_BAR_H // 2 for i, cy in enumerate(D_ROWS)}
    rows.update({"r%d" % i: cy for i, cy in enumerate(D_ROWS)})
    files["skins/default/vorlamet.ini"] = ini_bytes(DEFAULT_INI.format(bx=D_BAR_X, tx=D_TEXT_X, **rows))
    places = {"x%d" % i: dial_left(i) for i in range(4)}
    places.update({"t%d" % i: dial_left(i) + P_DIAL // 2 for i in range(4)})
    files["skins/painted/vorlamet.ini"] = ini_bytes(PAINTED_INI.format(dy=P_DIAL_TOP, ty=P_TEXT_Y, **places))
    return files


def same_content(path, expected):
    """Byte equality; a PNG also counts as current when only its deflate
    stream differs (another zlib build) and the pixels are the same."""
    with open(path, "rb") as f:
        actual = f.read()
    if actual == expected:
        return True
    if path.endswith(".png"):
        try:
            return png_pixels(actual) == png_pixels(expected)
        except (zlib.error, struct.error, ValueError):
            return False
    return False


def main(argv):
    check = "--check" in argv[1:]
    stale = []
    for relative, data in sorted(skin_files().items()):
        path = os.path.join(ROOT, relative)
        if check:
            if not os.path.isfile(path) or not same_content(path, data):
                stale.append(relative)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (relative, len(data)))
    if stale:
        for relative in stale:
            print("make_skins: %s is not what the generator makes" % relative)
        print("make_skins: run python3 tools/make_skins.py and commit the skins")
        return 1
    if check:
        print("make_skins: all skin files are up to date")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
