#!/usr/bin/env python3
"""Draws the search bar's glyphs into resources/bitmaps/: the find-next and find-previous arrows
(ESGARDOWN, ESGARUP and their disabled forms ...D), the highlight marker (ESGHI, ESGHID) and the
hot and pressed forms of the close cross (ESGCLOSEH, ESGCLOSED). 16 x 16 (the crosses 14 x 14) on
the transparent colour 0xFF00FF, which the bottom-left pixel keeps. A one-off program:
    python3 resources/tools/make_search_glyphs.py resources/bitmaps
"""
import struct
import sys
import zlib

BG = (255, 0, 255)


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


def arrow_down(fg):
    rows = [[BG] * 16 for _ in range(16)]
    for y in range(2, 9):  # the shaft
        for x in range(6, 10):
            rows[y][x] = fg
    for i, y in enumerate(range(8, 14)):  # the head
        for x in range(2 + i, 14 - i):
            rows[y][x] = fg
    return rows


def marker(fg, ink):
    rows = [[BG] * 16 for _ in range(16)]
    for y in range(3, 13):  # a slanted highlighter tip over an inked line
        for x in range(16):
            if 0 <= x - (12 - y) < 5 and y < 11:
                rows[y][x] = fg
    for x in range(2, 14):
        rows[13][x] = ink
        rows[14][x] = ink
    return rows


def cross(frame, face, ink):
    rows = [[face] * 14 for _ in range(14)]
    for i in range(14):
        rows[0][i] = rows[13][i] = rows[i][0] = rows[i][13] = frame
    for i in range(3, 11):
        rows[i][i] = rows[i][13 - i] = ink
        rows[i][i + 1 if i < 10 else i] = ink
        rows[i][12 - i if i < 10 else 13 - i] = ink
    rows[13][0] = BG  # transparent corner
    return rows


out = sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps"
BLUE, GREY = (30, 90, 180), (160, 160, 160)
down = arrow_down(BLUE)
png(out + "/ESGARDOWN.png", down)
png(out + "/ESGARUP.png", list(reversed(down)))
down_d = arrow_down(GREY)
png(out + "/ESGARDOWND.png", down_d)
png(out + "/ESGARUPD.png", list(reversed(down_d)))
png(out + "/ESGHI.png", marker((250, 220, 40), (40, 40, 40)))
png(out + "/ESGHID.png", marker((200, 200, 200), GREY))
png(out + "/ESGCLOSEH.png", cross((120, 120, 120), (235, 235, 235), (200, 30, 30)))
png(out + "/ESGCLOSED.png", cross((80, 80, 80), (200, 200, 200), (150, 0, 0)))
