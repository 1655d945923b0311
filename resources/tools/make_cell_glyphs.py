#!/usr/bin/env python3
"""Draws the grid's cell glyphs into resources/bitmaps/: the check boxes ESGCHK01..08, the radio
buttons ESGRAD01..08, the node glyphs ESGLEAFOPEN/ESGLEAFCLOSE and XPNODEO/XPNODEC and the close
glyph ESGCLOSE of the quick-configuration box, the filter button ESGFILT and the flat check and radio
glyphs METROCHECKON/METROCHECKOFF/METRORADIOON/METRORADIOOFF of a grid in colour tones.

Every glyph has the colour 0xFF00FF in its top-left pixel; the grid draws that colour transparent.
Order of the check and radio numbers: 01 checked, 02 unchecked, 03 checked disabled, 04 unchecked
disabled (the Ext look); 05 to 08 the same for the XP look. A one-off program:
    python3 resources/tools/make_cell_glyphs.py resources/bitmaps
"""
import math
import os
import struct
import sys
import zlib


def png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))


BG = (255, 0, 255)
WHITE = (255, 255, 255)


def canvas(w, h):
    return [[BG for _ in range(w)] for _ in range(h)]


def box(img, x0, y0, x1, y1, border, fill):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            img[y][x] = border if edge else fill


def tick(img, x0, y0, colour):
    # a two-pixel-thick tick inside a 13 x 13 box whose top-left is (x0, y0)
    points = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]
    for dx, dy in points:
        for t in (0, 1):
            img[y0 + dy + t][x0 + dx] = colour


CHECK_LOOKS = {
    # name: (border, fill, tick)
    "ext": ((0x40, 0x40, 0x80), WHITE, (0x20, 0x20, 0x60)),
    "ext_dis": ((0xA0, 0xA0, 0xA0), (0xF0, 0xF0, 0xF0), (0xA0, 0xA0, 0xA0)),
    "xp": ((0x1C, 0x51, 0x80), (0xF4, 0xF4, 0xF0), (0x21, 0xA1, 0x21)),
    "xp_dis": ((0xC9, 0xC7, 0xBA), (0xF4, 0xF4, 0xF0), (0xC9, 0xC7, 0xBA)),
}


def check(look, checked):
    border, fill, mark = CHECK_LOOKS[look]
    img = canvas(15, 15)
    box(img, 1, 1, 13, 13, border, fill)
    if checked:
        tick(img, 1, 1, mark)
    return img


def radio(look, checked):
    border, fill, mark = CHECK_LOOKS[look]
    img = canvas(16, 16)
    cx = cy = 7.5
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - cx, y - cy)
            if d <= 6.0:
                img[y][x] = fill
            if 5.0 < d <= 6.2:
                img[y][x] = border
            if checked and d <= 2.6:
                img[y][x] = mark
    return img


def node(sign_plus, size, border, fill, rounded):
    img = canvas(size, size)
    box(img, 0, 0, size - 1, size - 1, border, fill)
    if rounded:
        for x, y in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
            img[y][x] = BG
    mid = size // 2
    for x in range(2, size - 2):
        img[mid][x] = (0, 0, 0)
    if sign_plus:
        for y in range(2, size - 2):
            img[y][mid] = (0, 0, 0)
    return img


def close_glyph():
    img = canvas(14, 14)
    box(img, 1, 1, 12, 12, (0x80, 0x80, 0x80), (0xF0, 0xF0, 0xF0))
    for i in range(4, 10):
        img[i][i] = (0x80, 0, 0)
        img[i][13 - i] = (0x80, 0, 0)
    return img


def filter_glyph():
    # a funnel in a 16 x 16 button: a wide rim narrowing into a short stem
    img = canvas(16, 16)
    ink = (0x30, 0x30, 0x30)
    for y in range(4, 9):
        half = 6 - (y - 4)
        for x in range(8 - half, 8 + half):
            img[y][x] = ink
    for y in range(9, 13):
        for x in (7, 8):
            img[y][x] = ink
    return img


METRO_BORDER, METRO_MARK = (0x60, 0x60, 0x60), (0x30, 0x30, 0x30)


def metro_check(checked):
    img = canvas(15, 15)
    box(img, 1, 1, 13, 13, METRO_BORDER, WHITE)
    if checked:
        for y in range(4, 11):
            for x in range(4, 11):
                img[y][x] = METRO_MARK
    return img


def metro_radio(checked):
    img = canvas(16, 16)
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - 7.5, y - 7.5)
            if d <= 6.2:
                img[y][x] = METRO_BORDER if d > 5.2 else WHITE
            if checked and d <= 3.0:
                img[y][x] = METRO_MARK
    return img


def main(folder):
    looks = [("ext", True), ("ext", False), ("ext_dis", True), ("ext_dis", False),
             ("xp", True), ("xp", False), ("xp_dis", True), ("xp_dis", False)]
    for n, (look, checked) in enumerate(looks, start=1):
        png(os.path.join(folder, "ESGCHK%02d.png" % n), check(look, checked))
        png(os.path.join(folder, "ESGRAD%02d.png" % n), radio(look, checked))
    leaf_border, leaf_fill = (0x3C, 0x78, 0x3C), (0xD8, 0xF0, 0xD0)
    png(os.path.join(folder, "ESGLEAFOPEN.png"), node(False, 12, leaf_border, leaf_fill, True))
    png(os.path.join(folder, "ESGLEAFCLOSE.png"), node(True, 12, leaf_border, leaf_fill, True))
    xp_border, xp_fill = (0x7A, 0x96, 0xB4), WHITE
    png(os.path.join(folder, "XPNODEO.png"), node(False, 9, xp_border, xp_fill, True))
    png(os.path.join(folder, "XPNODEC.png"), node(True, 9, xp_border, xp_fill, True))
    png(os.path.join(folder, "ESGCLOSE.png"), close_glyph())
    png(os.path.join(folder, "ESGFILT.png"), filter_glyph())
    png(os.path.join(folder, "METROCHECKON.png"), metro_check(True))
    png(os.path.join(folder, "METROCHECKOFF.png"), metro_check(False))
    png(os.path.join(folder, "METRORADIOON.png"), metro_radio(True))
    png(os.path.join(folder, "METRORADIOOFF.png"), metro_radio(False))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps")
