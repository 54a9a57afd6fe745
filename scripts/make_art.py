#!/usr/bin/env python3
"""Draws QuillStack's pictures and writes its resource files into src/app/res/.

Everything is drawn here from shapes and hand-made pixel maps; the script needs only the Python 3
standard library.

    python3 scripts/make_art.py            write every file
    python3 scripts/make_art.py --check    parse the written files back and check them
    python3 scripts/make_art.py --preview DIR
                                           also write enlarged PNG copies into DIR (needs ImageMagick)
"""

import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "src", "app", "res")

# --------------------------------------------------------------------------------------------------
# Colours


def hexrgb(s):
    s = s.lstrip("#")
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smooth(t):
    t = clamp01(t)
    return t * t * (3 - 2 * t)


NAVY = hexrgb("#10264a")
DEEP_BLUE = hexrgb("#1d4479")
TEAL = hexrgb("#128a86")
TEAL_DARK = hexrgb("#0d5f66")
AQUA = hexrgb("#7fe3d5")
AQUA_LIGHT = hexrgb("#b9f3ea")
CREAM = hexrgb("#fbf3dc")
CREAM_SHADE = hexrgb("#e6d6ad")
TAN = hexrgb("#b08a4e")
INK = hexrgb("#1a1c2c")
GOLD = hexrgb("#e2b04a")

# Standard 16-colour VGA palette, in the order Windows uses for 4-bit bitmaps.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Letters used in the pixel maps below, mapped to VGA palette indices.
VGA_KEYS = {
    "K": 0, "r": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "S": 7,
    "G": 8, "R": 9, "L": 10, "Y": 11, "B": 12, ".": 13, "A": 14, "W": 15,
}
VGA_TRANSPARENT = 13  # fuchsia

# --------------------------------------------------------------------------------------------------
# A small anti-aliased canvas: shapes are tested at sub-pixel points and blended by coverage.


class Canvas:
    def __init__(self, w, h, fill=None, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.rgb = [[(fill or (0, 0, 0)) for _ in range(w)] for _ in range(h)]
        self.alpha = [[(1.0 if fill is not None else 0.0) for _ in range(w)] for _ in range(h)]
        offs = [(i + 0.5) / ss for i in range(ss)]
        self.sub = [(dx, dy) for dy in offs for dx in offs]

    def blend(self, x, y, color, a):
        if a <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        da = self.alpha[y][x]
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        dc = self.rgb[y][x]
        self.rgb[y][x] = tuple((color[i] * a + dc[i] * da * (1 - a)) / oa for i in range(3))
        self.alpha[y][x] = oa

    def fill(self, inside, bbox, color, opacity=1.0):
        """Fills the points where inside(x, y) holds; color is an RGB tuple or a function of (x, y)."""
        x0, y0, x1, y1 = bbox
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        n = len(self.sub)
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for dx, dy in self.sub:
                    if inside(px + dx, py + dy):
                        hits += 1
                if hits:
                    c = color(px + 0.5, py + 0.5) if callable(color) else color
                    self.blend(px, py, c, opacity * hits / n)

    def to_rgb8(self, background=None):
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                c = self.rgb[y][x]
                if background is not None:
                    c = mix(background, c, self.alpha[y][x])
                row.append(tuple(max(0, min(255, int(round(v)))) for v in c))
            out.append(row)
        return out


# Shape tests ---------------------------------------------------------------------------------------


def in_round_rect(x0, y0, x1, y1, r):
    def f(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return f, (x0, y0, x1, y1)


def in_polygon(pts):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]

    def f(x, y):
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    return f, (min(xs), min(ys), max(xs) + 1, max(ys) + 1)


def seg_dist2(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / ll))
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return dx * dx + dy * dy


def in_strokes(segments, r):
    """Union of round-capped strokes of radius r along the given segments."""
    r2 = r * r
    boxes = [(min(a[0], b[0]) - r, min(a[1], b[1]) - r, max(a[0], b[0]) + r, max(a[1], b[1]) + r, a, b)
             for a, b in segments]

    def f(x, y):
        for bx0, by0, bx1, by1, a, b in boxes:
            if bx0 <= x <= bx1 and by0 <= y <= by1 and seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= r2:
                return True
        return False
    if not boxes:
        return (lambda x, y: False), (0, 0, 0, 0)
    return f, (min(b[0] for b in boxes), min(b[1] for b in boxes),
               max(b[2] for b in boxes) + 1, max(b[3] for b in boxes) + 1)


def polyline_segments(pts):
    return [(pts[i], pts[i + 1]) for i in range(len(pts) - 1)]


def bezier(p0, p1, p2, n=16):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return pts


# --------------------------------------------------------------------------------------------------
# The emblem: a cream quill over a small stack of sound-wave bars on a blue-to-teal tile.


def tile_colour(ox, oy, s):
    def col(x, y):
        t = clamp01((y - oy) / s * 0.85 + (x - ox) / s * 0.3 - 0.1)
        return mix(DEEP_BLUE, TEAL, smooth(t))
    return col


# The 16-pixel emblem is drawn pixel by pixel: at that size shapes must sit on whole pixels.
# " " transparent, "." tile, C cream, c cream shade, t shaft, y gold nib, n nib point, a/A bars.
EMBLEM_16 = [
    "  ............  ",
    " .............C ",
    "............Ctc.",
    "..........CCtc..",
    "........CCCtc...",
    ".......CCCtc....",
    "......CCCtc.....",
    ".....CCCtc......",
    ".....CCtc.......",
    "....CCtc..AA....",
    "....Ct....aa....",
    "...yy.....aa.AA.",
    "..yy...AA.aa.aa.",
    "..n....aa.aa.aa.",
    " n............. ",
    "  ............  ",
]
EMBLEM_16_COLOURS = {"C": CREAM, "c": CREAM_SHADE, "t": TAN, "y": GOLD, "n": INK, "a": AQUA, "A": AQUA_LIGHT}


def draw_emblem(cv, ox, oy, size, tile=True):
    s = float(size)

    def P(u, v):
        return (ox + u * s, oy + v * s)

    if size == 16:
        col = tile_colour(ox, oy, s)
        for y, row in enumerate(EMBLEM_16):
            for x, ch in enumerate(row):
                if ch == " ":
                    continue
                c = EMBLEM_16_COLOURS.get(ch) or col(ox + x + 0.5, oy + y + 0.5)
                cv.blend(ox + x, oy + y, c, 1.0)
        return

    # Tile: a dark rim around a blue-to-teal gradient.
    m = s * 0.03
    rad = s * 0.19
    f, bb = in_round_rect(ox + m, oy + m, ox + s - m, oy + s - m, rad)
    cv.fill(f, bb, mix(NAVY, DEEP_BLUE, 0.3))
    rim = max(1.0, s * 0.025)
    f, bb = in_round_rect(ox + m + rim, oy + m + rim, ox + s - m - rim, oy + s - m - rim, rad - rim)
    cv.fill(f, bb, tile_colour(ox, oy, s))

    # Sound-wave bars, standing on a common baseline in the lower part of the tile.
    heights = [0.14, 0.26, 0.40, 0.30, 0.20, 0.11]
    n = len(heights)
    left, right = 0.17, 0.85
    pitch = (right - left) / n
    bw = pitch * 0.62
    base = 0.82
    for i, h in enumerate(heights):
        u0 = left + i * pitch + (pitch - bw) / 2
        x0, y0 = P(u0, base - h)
        x1, y1 = P(u0 + bw, base)
        f, bb = in_round_rect(x0, y0, x1, y1, min(bw * s / 2, s * 0.03))

        def bar_col(x, y, y0=y0, y1=y1):
            return mix(AQUA_LIGHT, AQUA, clamp01((y - y0) / max(1.0, y1 - y0)))
        cv.fill(f, bb, bar_col)

    # The quill: a feather vane along a gently bowed shaft from the nib (lower left) to the tip
    # (upper right).
    a = (0.29, 0.71)  # where the vane starts
    b = (0.87, 0.11)  # tip of the feather
    ctrl = (0.50, 0.36)  # bows the shaft towards the upper left
    tip = (0.12, 0.89)  # point of the nib

    def shaft_at(t):
        u = 1 - t
        x = u * u * a[0] + 2 * u * t * ctrl[0] + t * t * b[0]
        y = u * u * a[1] + 2 * u * t * ctrl[1] + t * t * b[1]
        tx = 2 * u * (ctrl[0] - a[0]) + 2 * t * (b[0] - ctrl[0])
        ty = 2 * u * (ctrl[1] - a[1]) + 2 * t * (b[1] - ctrl[1])
        ln = math.hypot(tx, ty)
        return x, y, tx / ln, ty / ln

    N = 48
    upper, lower, spine = [], [], []
    for i in range(N + 1):
        t = i / N
        cx, cy, tx, ty = shaft_at(t)
        nx, ny = ty, -tx  # normal towards the lower right
        prof = math.sin(math.pi * (t ** 0.7)) * (1 - 0.3 * t)
        wu = 0.15 * prof  # upper left side, wider
        wl = 0.085 * prof
        upper.append(P(cx - nx * wu, cy - ny * wu))
        lower.append(P(cx + nx * wl, cy + ny * wl))
        spine.append(P(cx, cy))
    vane = upper + list(reversed(lower))
    fv, bbv = in_polygon(vane)

    # Notches cut into the vane give it a feathery edge: thin wedges from the edge towards the shaft.
    cuts = ((0.38, -1), (0.62, -1), (0.5, 1)) if size >= 40 else ((0.45, -1),)
    notches = []
    for t0, side in cuts:
        cx, cy, tx, ty = shaft_at(t0)
        nx, ny = ty, -tx
        w = 0.2
        edge0 = P(cx + side * nx * w + tx * 0.02, cy + side * ny * w + ty * 0.02)
        edge1 = P(cx + side * nx * w - tx * 0.045, cy + side * ny * w - ty * 0.045)
        inner = P(cx + side * nx * 0.06 - tx * 0.07, cy + side * ny * 0.06 - ty * 0.07)
        notches.append(in_polygon([edge0, edge1, inner])[0])

    def vane_in(x, y):
        return fv(x, y) and not any(n(x, y) for n in notches)

    # Drop shadow, then the vane with a shaded lower side.
    sh = s * 0.035
    cv.fill(lambda x, y: vane_in(x - sh, y - sh), (bbv[0], bbv[1], bbv[2] + sh, bbv[3] + sh), NAVY, 0.4)

    def vane_col(x, y):
        u, v = (x - ox) / s, (y - oy) / s
        # Which side of the straight line from a to b, roughly along the shaft.
        d = ((u - a[0]) * (b[1] - a[1]) - (v - a[1]) * (b[0] - a[0])) / math.hypot(b[0] - a[0], b[1] - a[1])
        d = -d + 0.03
        return CREAM if d < 0 else mix(CREAM, CREAM_SHADE, clamp01(d / 0.04))
    cv.fill(vane_in, bbv, vane_col)

    # Shaft, running past the vane down to the nib.
    sx, sy, stx, sty = shaft_at(0)
    shaft = [P(sx - stx * 0.06, sy - sty * 0.06)] + spine[:-3]
    f, bb = in_strokes(polyline_segments(shaft), max(0.45, s * 0.013))
    cv.fill(f, bb, TAN, 0.9)

    # Gold nib with a dark point and slit.
    nb = (sx - stx * 0.05, sy - sty * 0.05)
    nx, ny = sty, -stx
    half = 0.045
    nib = [P(nb[0] - nx * half, nb[1] - ny * half), P(nb[0] + nx * half, nb[1] + ny * half), P(*tip)]
    f, bb = in_polygon(nib)
    cv.fill(f, bb, lambda x, y: mix(GOLD, TAN, clamp01(((x - ox) / s - tip[0]) * 4)))
    mid = (nb[0] * 0.45 + tip[0] * 0.55, nb[1] * 0.45 + tip[1] * 0.55)
    f, bb = in_strokes([(P(*mid), P(*tip))], max(0.4, s * 0.01))
    cv.fill(f, bb, INK, 0.85)


# --------------------------------------------------------------------------------------------------
# A stroke font: each glyph is a set of polylines on a grid with the baseline at 0, x-height 7 and
# cap height 10 (y grows upwards). Widths are the glyphs' ink widths.


def arc(cx, cy, rx, ry, a0, a1, n=None):
    if n is None:
        n = max(6, int(abs(a1 - a0) / 10))
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def _glyphs():
    g = {}
    bowl = arc(2.5, 3.5, 2.5, 3.5, 0, 360, 48)
    g["o"] = (5, [bowl])
    g["a"] = (5, [bowl, [(5, 7), (5, 0)]])
    g["b"] = (5, [bowl, [(0, 10), (0, 0)]])
    g["d"] = (5, [bowl, [(5, 10), (5, 0)]])
    g["c"] = (4.8, [arc(2.5, 3.5, 2.5, 3.5, 42, 318)])
    g["e"] = (5, [[(0.1, 3.5), (5, 3.5)] + arc(2.5, 3.5, 2.5, 3.5, 0, 318)[1:]])
    g["g"] = (5, [bowl, [(5, 7), (5, -0.8)] + arc(2.5, -0.8, 2.5, 2.2, 0, -150)[1:]])
    g["h"] = (5, [[(0, 10), (0, 0)], [(0, 4.2)] + arc(2.5, 4.5, 2.5, 2.5, 180, 0)[1:] + [(5, 0)]])
    g["n"] = (5, [[(0, 7), (0, 0)], [(0, 4.2)] + arc(2.5, 4.5, 2.5, 2.5, 180, 0)[1:] + [(5, 0)]])
    g["u"] = (5, [[(0, 7)] + arc(2.5, 2.5, 2.5, 2.5, 180, 360)[0:] + [(5, 7)], [(5, 2.8), (5, 0)]])
    g["i"] = (0, [[(0, 7), (0, 0)], [(0, 9.6), (0, 9.61)]])
    g["l"] = (0, [[(0, 10), (0, 0)]])
    g["t"] = (3.4, [[(1, 9.5), (1, 1.6)] + arc(2.6, 1.6, 1.6, 1.6, 180, 270)[1:] + [(3.4, 0)],
                    [(-0.2, 7), (3.2, 7)]])
    g["k"] = (4.6, [[(0, 10), (0, 0)], [(4.4, 7), (0.2, 2.6)], [(1.8, 4.2), (4.6, 0)]])
    g["Q"] = (8, [arc(4, 5, 4, 5, 0, 360, 64), [(4.9, 2.6), (8, -0.6)]])
    g["S"] = (6, [arc(3, 7.55, 2.8, 2.45, 25, 270, 24)[:-1] + arc(3, 2.5, 3, 2.55, 90, -155, 24)])
    g["A"] = (7.4, [[(0, 0), (3.7, 10), (7.4, 0)], [(1.35, 3.4), (6.05, 3.4)]])
    g["C"] = (7.2, [arc(4, 5, 4, 5, 45, 315, 48)])
    g[" "] = (2.4, [])
    return g


GLYPHS = _glyphs()


def text_segments(text, x, baseline, scale, stroke, tracking):
    """Segments of the text in pixel space, and the x where it ends."""
    segs = []
    pen = x
    for ch in text:
        width, lines = GLYPHS[ch]
        for line in lines:
            pts = [(pen + px * scale, baseline - py * scale) for px, py in line]
            segs += polyline_segments(pts)
        pen += width * scale + stroke + tracking
    return segs, pen - tracking - stroke


def text_width(text, scale, stroke, tracking):
    return text_segments(text, 0, 0, scale, stroke, tracking)[1]


# --------------------------------------------------------------------------------------------------
# Pictures


def make_banner():
    W, H = 362, 56

    def bg(x, y):
        t = x / (W - 1)
        base = mix(NAVY, TEAL_DARK, smooth(t * 1.05))
        # A gentle darkening towards the bottom edge.
        return mix(base, (6, 14, 30), 0.35 * (y / (H - 1)) ** 2)

    cv = Canvas(W, H, ss=4)
    for y in range(H):
        for x in range(W):
            cv.rgb[y][x] = bg(x, y)

    # Waveform motif on the right: rounded bars mirrored about a centre line, fading in.
    cy = 27.5
    x_start, x_end = 228, 352
    pitch = 5
    n = (x_end - x_start) // pitch
    for i in range(n):
        t = i / (n - 1)
        env = 0.35 + 0.65 * math.sin(math.pi * (0.15 + 0.8 * t)) ** 1.3
        wob = 0.55 + 0.45 * abs(math.sin(i * 1.9) * math.cos(i * 0.7 + 0.4))
        h = max(2.0, 19.0 * env * wob)
        x0 = x_start + i * pitch
        f, bb = in_round_rect(x0, cy - h, x0 + 2.6, cy + h, 1.3)
        fade = 0.18 + 0.5 * smooth(t * 1.6)
        cv.fill(f, bb, lambda x, y: mix(AQUA_LIGHT, AQUA, abs(y - cy) / 20.0), fade)
    # A thin centre line through the bars.
    f, bb = in_round_rect(x_start - 6, cy - 0.5, x_end + 2, cy + 0.5, 0.5)
    cv.fill(f, bb, lambda x, y: AQUA, 0.18)

    # Emblem on the left.
    draw_emblem(cv, 8, 6, 44)

    # Title: "Quill" in cream and "Stack" in aqua, with a soft shadow.
    scale, stroke, track = 2.25, 3.3, 1.1
    r = stroke / 2
    tx, base = 64, 31
    segs_q, end_q = text_segments("Quill", tx, base, scale, stroke, track)
    segs_s, _ = text_segments("Stack", end_q + stroke + track + 0.5, base, scale, stroke, track)
    f, bb = in_strokes(segs_q + segs_s, r)
    cv.fill(lambda x, y: f(x - 1.2, y - 1.2), (bb[0], bb[1], bb[2] + 2, bb[3] + 2), (4, 10, 24), 0.45)
    f, bb = in_strokes(segs_q, r)
    cv.fill(f, bb, CREAM)
    f, bb = in_strokes(segs_s, r)
    cv.fill(f, bb, lambda x, y: mix(AQUA_LIGHT, AQUA, clamp01((y - 8) / 24)))

    # Subtitle.
    s_scale, s_stroke, s_track = 0.92, 1.2, 1.15
    segs, _ = text_segments("batch AAC encoding", tx + 1, 46.5, s_scale, s_stroke, s_track)
    f, bb = in_strokes(segs, s_stroke / 2)
    cv.fill(f, bb, hexrgb("#cfe9e4"))

    # A thin gold rule along the bottom edge.
    f, bb = in_round_rect(0, H - 2, W, H, 0)
    cv.fill(f, bb, lambda x, y: mix(GOLD, AQUA, x / W), 0.85)
    return cv.to_rgb8()


def make_icon_image(size):
    cv = Canvas(size, size, ss=8)
    draw_emblem(cv, 0, 0, size)
    return cv


# Pixel maps for the 16-colour toolbar glyphs (keys in VGA_KEYS; "." is the transparent fuchsia).

GLYPH_CLEAR = [
    "...............r",
    "KKKKKKK.......r.",
    "KWWWWWKK......r.",
    "KWWWWWKWK....r..",
    "KWWWWWKKKK...r..",
    "KWWWWWWWSK..r...",
    "KWWWWWWWSK..r...",
    "KWWWWWWWSK.r....",
    "KWWWWWWWSK.r....",
    "KWWWWWWWSKKrK...",
    "KWWWWWWWSKoKo...",
    "KWWWWWWWSoYYYo..",
    "KWWWWWWWoYYoYYo.",
    "KSSSSSSoYYoYYoY.",
    "KKKKKKoYYoYYoY..",
    "......ooooooo...",
]

GLYPH_ADD = [
    ".KKKKKKK........",
    ".KWWWWWKK.......",
    ".KWWWWWKWK......",
    ".KWWWWWKWWK.....",
    ".KWWWWWKKKKK....",
    ".KWGGGGGGWSK....",
    ".KWWWWWWWWSK....",
    ".KWGGGGGGWSK....",
    ".KWWWWWWWWSK....",
    ".KWGGGGGggg.....",
    ".KWWWWWWgLg.....",
    ".KWGGGgggLggg...",
    ".KWWWWgLLLLLg...",
    ".KSSSSgggLggg...",
    ".KKKKKKKgLg.....",
    "........ggg.....",
]

GLYPH_DELETE = [
    "................",
    "................",
    "..rrr.......rrr.",
    "..rRRr.....rRRr.",
    "..rRRRr...rRRRr.",
    "...rRRRr.rRRRr..",
    "....rRRRrRRRr...",
    ".....rRRRRRr....",
    "......rRRRr.....",
    ".....rRRRRRr....",
    "....rRRRrRRRr...",
    "...rRRRr.rRRRr..",
    "..rRRRr...rRRRr.",
    "..rRRr.....rRRr.",
    "..rrr.......rrr.",
    "................",
]


def pixmap_indices(rows, keys):
    return [[keys[c] for c in row] for row in rows]


def make_play():
    # 11x11: a triangle pointing right, 9 rows tall; 0 = black, 1 = white.
    img = [[1] * 11 for _ in range(11)]
    for y in range(1, 10):
        w = 5 - abs(y - 5)  # 1..5..1
        for x in range(3, 3 + w):
            img[y][x] = 0
    return img


def make_stop():
    # 12x13: a filled square, 8x8, centred.
    img = [[1] * 12 for _ in range(13)]
    for y in range(2, 10):
        for x in range(2, 10):
            img[y][x] = 0
    return img


# --------------------------------------------------------------------------------------------------
# Colour reduction for the 256-colour icon images (median cut).


def median_cut(colors, n):
    """colors: dict rgb -> count. Returns up to n representative colours."""
    boxes = [list(colors.items())]
    while len(boxes) < n:
        best, best_score, best_ch = None, -1, 0
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[0][ch] for c in box]
                rng = max(vals) - min(vals)
                score = rng * math.log2(1 + sum(c[1] for c in box))
                if score > best_score:
                    best, best_score, best_ch = bi, score, ch
        if best is None or best_score <= 0:
            break
        box = sorted(boxes.pop(best), key=lambda c: c[0][best_ch])
        total = sum(c[1] for c in box)
        acc, cut = 0, 1
        for i, c in enumerate(box):
            acc += c[1]
            if acc >= total / 2:
                cut = max(1, min(len(box) - 1, i + 1))
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    out = []
    for box in boxes:
        tot = sum(c[1] for c in box)
        out.append(tuple(int(round(sum(c[0][i] * c[1] for c in box) / tot)) for i in range(3)))
    return out


def quantize_icon(cv):
    """Returns (palette of 256 RGB, rows of indices, rows of mask bits 1 = transparent)."""
    rgb = cv.to_rgb8()
    size = cv.w
    opaque = [[cv.alpha[y][x] >= 0.5 for x in range(size)] for y in range(size)]
    counts = {}
    for y in range(size):
        for x in range(size):
            if opaque[y][x]:
                counts[rgb[y][x]] = counts.get(rgb[y][x], 0) + 1
    if len(counts) <= 255:
        pal = sorted(counts)
    else:
        pal = median_cut(counts, 255)
    # Index 0 is black: transparent pixels carry it, as the AND/XOR pair of an icon expects.
    palette = [(0, 0, 0)] + [c for c in pal if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}

    def nearest(c):
        if c not in cache:
            cache[c] = min(range(1, len(pal) + 1),
                           key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
        return cache[c]
    idx = [[nearest(rgb[y][x]) if opaque[y][x] else 0 for x in range(size)] for y in range(size)]
    mask = [[0 if opaque[y][x] else 1 for x in range(size)] for y in range(size)]
    return palette, idx, mask


# --------------------------------------------------------------------------------------------------
# File writers


def pack_rows(rows, bpp):
    """Packs rows of palette indices (or RGB tuples for 24 bpp) bottom-up with 4-byte padding."""
    out = bytearray()
    for row in reversed(rows):
        b = bytearray()
        if bpp == 24:
            for r, g, bl in row:
                b += bytes((bl, g, r))
        else:
            per = 8 // bpp
            for i in range(0, len(row), per):
                v = 0
                for j in range(per):
                    v <<= bpp
                    if i + j < len(row):
                        v |= row[i + j]
                b.append(v)
        while len(b) % 4:
            b.append(0)
        out += b
    return bytes(out)


def info_header(w, h, bpp, image_size, colors):
    # biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression, biSizeImage, ppm x, ppm y,
    # biClrUsed, biClrImportant. 3780 pixels per metre is 96 dpi.
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size, 3780, 3780, colors, 0)


def palette_bytes(pal):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)


def bmp_bytes(rows, bpp, palette=None):
    h, w = len(rows), len(rows[0])
    pixels = pack_rows(rows, bpp)
    pal = palette_bytes(palette) if palette else b""
    ncol = len(palette) if palette else 0
    offset = 14 + 40 + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info_header(w, h, bpp, len(pixels), ncol) + pal + pixels


def ico_bytes(images):
    """images: list of (size, palette, index rows, mask rows)."""
    blobs = []
    for size, palette, idx, mask in images:
        xor = pack_rows(idx, 8)
        andm = pack_rows(mask, 1)
        blob = info_header(size, size * 2, 8, len(xor) + len(andm), 0) + palette_bytes(palette) + xor + andm
        blobs.append(blob)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, *_), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


RC_TEXT = """\
// QuillStack resources. Generated by scripts/make_art.py: edit that script, not this file.
#pragma code_page(65001)
#include <windows.h>

MAINICON ICON "QuillStack.ico"

BANNER       BITMAP "banner.bmp"
GLYPH_CLEAR  BITMAP "glyph_clear.bmp"
GLYPH_ADD    BITMAP "glyph_add.bmp"
GLYPH_DELETE BITMAP "glyph_delete.bmp"
GLYPH_PLAY   BITMAP "glyph_play.bmp"
GLYPH_STOP   BITMAP "glyph_stop.bmp"

1 24 "QuillStack.manifest"

LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
1 VERSIONINFO
 FILEVERSION 3,0,0,0
 PRODUCTVERSION 3,0,0,0
 FILEFLAGSMASK 0x3fL
 FILEFLAGS 0x0L
 FILEOS 0x40004L
 FILETYPE 0x1L
 FILESUBTYPE 0x0L
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904b0"
        BEGIN
            VALUE "CompanyName", "QuillStack"
            VALUE "FileDescription", "QuillStack batch AAC encoder front end"
            VALUE "FileVersion", "3.0.0.0"
            VALUE "InternalName", "QuillStack"
            VALUE "OriginalFilename", "QuillStack.exe"
            VALUE "ProductName", "QuillStack"
            VALUE "ProductVersion", "3.0.0.0"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
"""

MANIFEST_TEXT = """\
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="QuillStack" version="3.0.0.0" processorArchitecture="*"/>
  <description>QuillStack batch AAC encoder front end</description>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <!-- Windows 7 -->
      <supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>
      <!-- Windows 8 -->
      <supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>
      <!-- Windows 8.1 -->
      <supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>
      <!-- Windows 10 and Windows 11 -->
      <supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>
    </application>
  </compatibility>
  <application xmlns="urn:schemas-microsoft-com:asm.v3">
    <windowsSettings>
      <!-- The layout is fixed at 96 dpi: let the system scale the window. -->
      <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">false</dpiAware>
    </windowsSettings>
  </application>
</assembly>
"""

README_TEXT = """\
The files in this folder are generated by scripts/make_art.py.
Run `python3 scripts/make_art.py` to regenerate them.
"""

BITMAP_FILES = ["banner.bmp", "glyph_clear.bmp", "glyph_add.bmp", "glyph_delete.bmp",
                "glyph_play.bmp", "glyph_stop.bmp"]


def write(name, data):
    path = os.path.join(RES, name)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode, **({} if mode == "wb" else {"encoding": "utf-8", "newline": "\n"})) as fh:
        fh.write(data)


def generate():
    os.makedirs(RES, exist_ok=True)
    images = []
    for size in (16, 32, 48):
        pal, idx, mask = quantize_icon(make_icon_image(size))
        images.append((size, pal, idx, mask))
    write("QuillStack.ico", ico_bytes(images))
    write("banner.bmp", bmp_bytes(make_banner(), 24))
    for name, rows in (("glyph_clear.bmp", GLYPH_CLEAR), ("glyph_add.bmp", GLYPH_ADD),
                       ("glyph_delete.bmp", GLYPH_DELETE)):
        write(name, bmp_bytes(pixmap_indices(rows, VGA_KEYS), 4, VGA16))
    mono = [(0, 0, 0), (255, 255, 255)]
    write("glyph_play.bmp", bmp_bytes(make_play(), 1, mono))
    write("glyph_stop.bmp", bmp_bytes(make_stop(), 1, mono))
    write("QuillStack.rc", RC_TEXT)
    write("QuillStack.manifest", MANIFEST_TEXT)
    write("README.md", README_TEXT)


# --------------------------------------------------------------------------------------------------
# Checking


class CheckError(Exception):
    pass


def expect(cond, what):
    if not cond:
        raise CheckError(what)


def parse_info(data, off):
    (size, w, h, planes, bpp, comp, img_size, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", data, off)
    expect(size == 40, "BITMAPINFOHEADER size is %d" % size)
    expect(planes == 1 and comp == 0, "planes/compression are %d/%d" % (planes, comp))
    return w, h, bpp, img_size, used


def read_indices(data, off, w, h, bpp):
    stride = ((w * bpp + 31) // 32) * 4
    rows = []
    for r in range(h):
        line = data[off + (h - 1 - r) * stride: off + (h - r) * stride]
        row = []
        for x in range(w):
            if bpp == 24:
                b, g, rr = line[x * 3: x * 3 + 3]
                row.append((rr, g, b))
            else:
                bit = x * bpp
                v = line[bit // 8] >> (8 - bpp - bit % 8)
                row.append(v & ((1 << bpp) - 1))
        rows.append(row)
    return rows, stride * h


def check_bmp(name, want_w, want_h, want_bpp):
    data = open(os.path.join(RES, name), "rb").read()
    magic, fsize, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
    expect(magic == b"BM", name + ": no BM signature")
    expect(fsize == len(data), name + ": file size field %d, file is %d" % (fsize, len(data)))
    w, h, bpp, img_size, used = parse_info(data, 14)
    expect((w, h, bpp) == (want_w, want_h, want_bpp), name + ": %dx%d %d bpp" % (w, h, bpp))
    ncol = (used or (1 << bpp)) if bpp <= 8 else 0
    expect(off == 14 + 40 + 4 * ncol, name + ": pixel offset %d" % off)
    pal = [tuple(reversed(data[54 + 4 * i: 54 + 4 * i + 3])) for i in range(ncol)]
    rows, nbytes = read_indices(data, off, w, h, bpp)
    expect(img_size == nbytes and off + nbytes == len(data), name + ": pixel data size")
    return pal, rows


def check_ico(name):
    data = open(os.path.join(RES, name), "rb").read()
    reserved, typ, count = struct.unpack_from("<HHH", data, 0)
    expect((reserved, typ, count) == (0, 1, 3), name + ": header %r" % ((reserved, typ, count),))
    sizes = []
    for i in range(count):
        w, h, ncol, res, planes, bpp, nbytes, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        expect((ncol, planes, bpp) == (0, 1, 8), name + ": entry %d colours/planes/bpp" % i)
        expect(off + nbytes <= len(data), name + ": entry %d out of the file" % i)
        bw, bh, bbpp, img_size, used = parse_info(data, off)
        expect((bw, bh, bbpp) == (w, 2 * h, 8), name + ": entry %d image header" % i)
        ncolors = used or 256
        expect(ncolors == 256, name + ": entry %d has %d colours" % (i, ncolors))
        pix = off + 40 + 4 * ncolors
        xor, xn = read_indices(data, pix, w, h, 8)
        mask, mn = read_indices(data, pix + xn, w, h, 1)
        expect(40 + 4 * ncolors + xn + mn == nbytes, name + ": entry %d size" % i)
        opaque = sum(1 - v for row in mask for v in row)
        expect(opaque > w * h // 2, name + ": entry %d is mostly transparent" % i)
        expect(all(xor[y][x] == 0 for y in range(h) for x in range(w) if mask[y][x]),
               name + ": entry %d has colour under transparent pixels" % i)
        sizes.append(w)
    expect(sizes == [16, 32, 48], name + ": sizes %r" % sizes)


def all_reach_border(rows, key):
    h, w = len(rows), len(rows[0])
    todo = [(x, y) for y in range(h) for x in range(w)
            if rows[y][x] == key and (x in (0, w - 1) or y in (0, h - 1))]
    seen = set(todo)
    while todo:
        x, y = todo.pop()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and (nx, ny) not in seen and rows[ny][nx] == key:
                seen.add((nx, ny))
                todo.append((nx, ny))
    return len(seen) == sum(1 for row in rows for v in row if v == key)


def check():
    check_ico("QuillStack.ico")
    check_bmp("banner.bmp", 362, 56, 24)
    for name in ("glyph_clear.bmp", "glyph_add.bmp", "glyph_delete.bmp"):
        pal, rows = check_bmp(name, 16, 16, 4)
        expect(pal == VGA16, name + ": not the standard 16-colour palette")
        key = rows[-1][0]
        expect(key == VGA_TRANSPARENT, name + ": bottom-left pixel is not the transparent colour")
        used = sum(1 for row in rows for v in row if v != key)
        expect(used > 20, name + ": nearly empty")
        # Every pixel of the transparent colour belongs to the background around the drawing.
        expect(all_reach_border(rows, key), name + ": the transparent colour is used inside the drawing")
    for name, w, h in (("glyph_play.bmp", 11, 11), ("glyph_stop.bmp", 12, 13)):
        pal, rows = check_bmp(name, w, h, 1)
        expect(pal == [(0, 0, 0), (255, 255, 255)], name + ": palette is not black/white")
        expect(pal[rows[-1][0]] == (255, 255, 255), name + ": bottom-left pixel is not white")
        expect(any(v == 0 for row in rows for v in row), name + ": no black pixels")
    rc = open(os.path.join(RES, "QuillStack.rc"), encoding="utf-8").read()
    for name in BITMAP_FILES + ["QuillStack.ico", "QuillStack.manifest"]:
        expect('"%s"' % name in rc, "QuillStack.rc does not name " + name)
        expect(os.path.exists(os.path.join(RES, name)), name + " is missing")
    for res in ("MAINICON ICON", "BANNER ", "GLYPH_CLEAR ", "GLYPH_ADD ", "GLYPH_DELETE ", "GLYPH_PLAY ",
                "GLYPH_STOP ", "1 24 ", "VERSIONINFO"):
        expect(res in rc, "QuillStack.rc lacks " + res.strip())
    tree = ET.parse(os.path.join(RES, "QuillStack.manifest"))
    text = open(os.path.join(RES, "QuillStack.manifest"), encoding="utf-8").read()
    expect("Microsoft.Windows.Common-Controls" not in text, "manifest depends on comctl32 v6")
    expect("activeCodePage" not in text, "manifest sets the active code page")
    expect('level="asInvoker"' in text, "manifest does not ask for asInvoker")
    ns = "{urn:schemas-microsoft-com:compatibility.v1}"
    expect(len(tree.getroot().findall(".//%ssupportedOS" % ns)) == 4, "manifest lists the wrong systems")
    print("make_art: all resource files check out")


def preview(outdir):
    conv = shutil.which("convert")
    if not conv:
        print("make_art: ImageMagick's convert is not installed; no preview", file=sys.stderr)
        return
    os.makedirs(outdir, exist_ok=True)
    jobs = [("QuillStack.ico[0]", "icon16.png", 800), ("QuillStack.ico[1]", "icon32.png", 800),
            ("QuillStack.ico[2]", "icon48.png", 800), ("banner.bmp", "banner.png", 300),
            ("banner.bmp", "banner_1x.png", 100)]
    for name in BITMAP_FILES[1:]:
        jobs.append((name, name.replace(".bmp", ".png"), 800))
    for src, dst, pct in jobs:
        subprocess.run([conv, os.path.join(RES, src), "-filter", "point", "-resize", "%d%%" % pct,
                        os.path.join(outdir, dst)], check=True)
    print("make_art: previews in " + outdir)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--check", action="store_true", help="only check the written files")
    ap.add_argument("--preview", metavar="DIR", help="also write enlarged PNG copies into DIR")
    args = ap.parse_args()
    try:
        if not args.check:
            generate()
        check()
    except CheckError as e:
        print("make_art: " + str(e), file=sys.stderr)
        return 1
    if args.preview:
        preview(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
