#!/usr/bin/env python3
"""Draws the sample pictures into the folder named, by default this one. Standard library only.

samples/balloon.png: the picture a newcomer meets, which the run command converts and the README
shows: 112 x 126 pixels of flat colours on a transparent background, so that --skip-transparent
leaves the sky out and --merge draws each stripe with few squares.
samples/rocket.png: 16 x 16, the tests' small picture; each letter of ROCKET is one pixel of its
palette, "." fully transparent.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

CLEAR = (0, 0, 0, 0)

ROCKET_PALETTE = {
    ".": CLEAR,
    "k": (34, 32, 52, 255),
    "w": (236, 239, 244, 255),
    "g": (155, 161, 173, 255),
    "r": (217, 54, 54, 255),
    "b": (64, 132, 214, 255),
    "o": (245, 160, 40, 255),
    "y": (252, 220, 80, 255),
    "h": (255, 255, 255, 128),
}

ROCKET = """
.......kk.......
......kwwk......
.....kwwwwk.....
.....kwwwwk.....
....kwwbbwwk....
....kwbhhbwk....
....kwbhbbwk....
....kwwbbwwk....
....kwwwwwwk....
....kggwwggk....
...krkgwwgkrk...
..krrkggggkrrk..
..krrkkkkkkrrk..
..kkk.koyok.kkk.
.......oyo......
........y.......
"""

# The balloon: a round top of radius R about (CX, CY) narrowing to its mouth at NECK_Y, in
# vertical gores that alternate red and cream, darker on the right, with a blue band. Its parts
# are laid out on a 64 x 72 grid and drawn SCALE times as large.
SCALE = 1.75
WIDTH, HEIGHT = 64, 72
CX, CY, R = 32, 25, 23
NECK_Y, NECK_HALF_WIDTH = 51, 5
GORES = 7
OUTLINE = (43, 33, 56, 255)
RED, RED_SHADE = (214, 57, 60, 255), (160, 36, 52, 255)
CREAM, CREAM_SHADE = (250, 236, 196, 255), (222, 196, 150, 255)
BAND = (52, 112, 196, 255)
WICKER, WICKER_SHADE = (168, 110, 52, 255), (118, 72, 36, 255)
CLOUD, CLOUD_SHADE = (226, 236, 250, 255), (184, 204, 232, 255)
CLOUDS = [  # the circles of each cloud, (x, y, radius), and the row that cuts them flat
    ([(7, 63, 5), (14, 59, 6.5), (20, 63, 4.5)], 67),
    ([(54, 8.5, 3), (58, 6.5, 3.5), (61.5, 8.5, 2.5)], 11),
]


def half_width(y):
    """The envelope's half width at height y, negative outside it."""
    if y <= CY:
        return math.sqrt(max(0, R * R - (y - CY) ** 2)) if y >= CY - R else -1
    if y <= NECK_Y:
        t = (y - CY) / (NECK_Y - CY)
        return NECK_HALF_WIDTH + (R - NECK_HALF_WIDTH) * (1 - t ** 1.8)
    return -1


def envelope(x, y):
    hw, dx = half_width(y + 0.5) - 0.3, x + 0.5 - CX
    if hw <= 0 or abs(dx) > hw:
        return None
    if 40 <= y < 43:
        return BAND
    # Gores of equal angle round the envelope look narrower towards its sides.
    gore = int((math.asin(dx / hw) + math.pi / 2) / (math.pi / GORES))
    shaded = dx > hw * 0.45
    if gore % 2 == 0:
        return RED_SHADE if shaded else RED
    return CREAM_SHADE if shaded else CREAM


def mouth(x, y):
    return WICKER_SHADE if 51 <= y < 53 and 28 <= x < 36 else None


def rope(x, y):
    if not 53 <= y < 61:
        return None
    t = (y - 53) / 8
    return OUTLINE if any(abs(x - edge) < 0.5 / SCALE for edge in (28.5 - t, 35.5 + t)) else None


def basket(x, y):
    if not (26 <= x < 38 and 61 <= y < 70):
        return None
    rim = min(x - 26, 38 - x, y - 61, 70 - y) < 1
    return WICKER_SHADE if rim or int(x + y) % 4 == 0 else WICKER


def cloud(x, y):
    for circles, base in CLOUDS:
        inside = any((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r for cx, cy, r in circles)
        if inside and y < base:
            return CLOUD_SHADE if y >= base - 2 else CLOUD
    return None


def balloon():
    def at(part, column, row):
        """What `part` draws at the centre of the picture's pixel (column, row)."""
        return part((column + 0.5) / SCALE - 0.5, (row + 0.5) / SCALE - 0.5)

    def colour(column, row):
        for part in (envelope, mouth, rope, basket, cloud):
            if found := at(part, column, row):
                # The envelope's edge: a pixel of it beside one that is not.
                if part is envelope and any(
                        at(envelope, c, r) is None and at(mouth, c, r) is None
                        for c, r in ((column - 1, row), (column + 1, row), (column, row - 1),
                                     (column, row + 1))):
                    return OUTLINE
                return found
        return CLEAR

    return [[colour(column, row) for column in range(round(WIDTH * SCALE))]
            for row in range(round(HEIGHT * SCALE))]


def png(rows):
    """An 8-bit RGBA PNG of rows of (r, g, b, a) pixels."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + b"".join(bytes(pixel) for pixel in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    here = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    rocket = [[ROCKET_PALETTE[c] for c in row] for row in ROCKET.split()]
    (here / "rocket.png").write_bytes(png(rocket))
    (here / "balloon.png").write_bytes(png(balloon()))
