#!/usr/bin/env python3
"""Draws the spin buttons' arrow glyphs EsgSpinUp and EsgSpinDown into resources/bitmaps/.

Each is a 9 x 4 black triangle on the transparent colour 0xFF00FF (the bottom-left pixel, which
the button takes as its transparent colour, stays background). A one-off program:
    python3 resources/tools/make_spin_glyphs.py resources/bitmaps
"""
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


BG, FG = (255, 0, 255), (0, 0, 0)
W, H = 9, 4
up = [[FG if abs(x - 4) <= y else BG for x in range(W)] for y in range(H)]

down = [row[:] for row in reversed([[FG if abs(x - 4) <= y else BG for x in range(W)] for y in range(H)])]

out = sys.argv[1] if len(sys.argv) > 1 else "resources/bitmaps"
png(out + "/EsgSpinUp.png", up)
png(out + "/EsgSpinDown.png", down)
