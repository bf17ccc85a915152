#!/usr/bin/env python3
"""Draws the uninstaller skin's images (flat, dark theme) as PNG files.

Usage: make-skin-images.py OUTPUT_DIR

Only the standard library is used: shapes are rasterised with 4x4 super-sampling and written
with zlib, so the images come out the same on every machine.
"""
import os
import struct
import sys
import zlib

# The theme: a dark slate background with one warm accent.
ACCENT = (0xF0, 0x8A, 0x24)
ACCENT_HOT = (0xFF, 0xA3, 0x45)
ACCENT_PUSHED = (0xC8, 0x6E, 0x14)
GHOST = (0x3A, 0x44, 0x56)
GHOST_HOT = (0x4A, 0x56, 0x6C)
GHOST_PUSHED = (0x2C, 0x34, 0x44)
TRACK = (0x2A, 0x31, 0x3F)
LIGHT = (0xE8, 0xEC, 0xF2)
RED = (0xE0, 0x4B, 0x4B)
RED_PUSHED = (0xB8, 0x36, 0x36)
SS = 4  # sub-samples per axis


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]  # straight RGBA, 0..1 alpha

    def blend(self, x, y, rgb, cover):
        if cover <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        a = cover + p[3] * (1 - cover)
        for i in range(3):
            p[i] = (rgb[i] * cover + p[i] * p[3] * (1 - cover)) / a if a else 0
        p[3] = a

    def fill(self, inside, rgb, box=None, alpha=1.0):
        """Paints every pixel by the fraction of its sub-samples for which inside(x, y) holds."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                self.blend(x, y, rgb, alpha * hits / (SS * SS))

    def png(self, path):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                raw += bytes((round(r), round(g), round(b), round(a * 255)))

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            f.write(chunk(b"IEND", b""))


def round_rect(l, t, r, b, rad):
    def inside(x, y):
        if x < l or x >= r or y < t or y >= b:
            return False
        cx = min(max(x, l + rad), r - rad)
        cy = min(max(y, t + rad), b - rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
    return inside


def ring(l, t, r, b, rad, width):
    outer = round_rect(l, t, r, b, rad)
    inner = round_rect(l + width, t + width, r - width, b - width, max(0, rad - width))
    return lambda x, y: outer(x, y) and not inner(x, y)


def segment(x0, y0, x1, y1, half):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def button(path, w, h, rgb):
    c = Canvas(w, h)
    c.fill(round_rect(0, 0, w, h, 6), rgb)
    c.png(path)


def system_button(path, glyph, bk, alpha):
    c = Canvas(30, 30)
    if bk:
        c.fill(round_rect(0, 0, 30, 30, 4), bk, alpha=alpha)
    for seg in glyph:
        c.fill(segment(*seg, 1.0), LIGHT)
    c.png(path)


def check(path, on, hot):
    c = Canvas(18, 18)
    c.fill(ring(1, 1, 17, 17, 3, 1.5), ACCENT if (on or hot) else (0x8A, 0x94, 0xA6))
    if on:
        c.fill(round_rect(1, 1, 17, 17, 3), ACCENT)
        c.fill(segment(4.5, 9, 7.5, 12, 1.1), LIGHT)
        c.fill(segment(7.5, 12, 13.5, 5.5, 1.1), LIGHT)
    c.png(path)


def logo(path):
    # An emblem: a diamond with an inner "Z"-like stroke, in the accent colour.
    c = Canvas(40, 40)
    c.fill(lambda x, y: abs(x - 20) + abs(y - 20) <= 18, ACCENT)
    c.fill(lambda x, y: abs(x - 20) + abs(y - 20) <= 13, (0x1E, 0x24, 0x30))
    for seg in ((14, 14, 26, 14), (26, 14, 14, 26), (14, 26, 26, 26)):
        c.fill(segment(*seg, 1.6), LIGHT)
    c.png(path)


def ad_tile(path, hue):
    c = Canvas(150, 90)
    c.fill(round_rect(0, 0, 150, 90, 6), hue)
    c.fill(lambda x, y: (x - 120) ** 2 + (y - 20) ** 2 < 900, LIGHT, alpha=0.15)
    c.png(path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)

    for state, rgb in (("normal", ACCENT), ("hot", ACCENT_HOT), ("pushed", ACCENT_PUSHED)):
        button(p("btn_primary_%s.png" % state), 160, 44, rgb)
    for state, rgb in (("normal", GHOST), ("hot", GHOST_HOT), ("pushed", GHOST_PUSHED)):
        button(p("btn_ghost_%s.png" % state), 160, 44, rgb)

    minus = ((9, 15, 21, 15),)
    cross = ((10, 10, 20, 20), (20, 10, 10, 20))
    system_button(p("sys_min_normal.png"), minus, None, 0)
    system_button(p("sys_min_hot.png"), minus, GHOST_HOT, 1.0)
    system_button(p("sys_min_pushed.png"), minus, GHOST_PUSHED, 1.0)
    system_button(p("sys_close_normal.png"), cross, None, 0)
    system_button(p("sys_close_hot.png"), cross, RED, 1.0)
    system_button(p("sys_close_pushed.png"), cross, RED_PUSHED, 1.0)

    check(p("check_off.png"), False, False)
    check(p("check_hot.png"), False, True)
    check(p("check_on.png"), True, False)

    bar_back = Canvas(600, 12)
    bar_back.fill(round_rect(0, 0, 600, 12, 6), TRACK)
    bar_back.png(p("progress_back.png"))
    bar_fore = Canvas(600, 12)
    bar_fore.fill(round_rect(0, 0, 600, 12, 6), ACCENT)
    bar_fore.png(p("progress_fore.png"))

    thumb = Canvas(8, 40)
    thumb.fill(round_rect(0, 0, 8, 40, 4), GHOST_HOT)
    thumb.png(p("scroll_thumb.png"))

    logo(p("logo.png"))
    for i, hue in enumerate(((0x2F, 0x6F, 0xB5), (0x7A, 0x3F, 0xA8), (0x2E, 0x8B, 0x6A),
                             (0xB5, 0x4A, 0x3A)), 1):
        ad_tile(p("game_ad%d.png" % i), hue)


if __name__ == "__main__":
    main()
