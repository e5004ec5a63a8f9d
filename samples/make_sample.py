#!/usr/bin/env python3
"""Draws samples/rocket.png, the pixel-art picture the run command converts. Standard library only.

Each letter of ART is one pixel of the palette below; "." is fully transparent, so the DXF shows
the background composited to white.
"""
import struct
import zlib
from pathlib import Path

PALETTE = {
    ".": (0, 0, 0, 0),
    "k": (34, 32, 52, 255),
    "w": (236, 239, 244, 255),
    "g": (155, 161, 173, 255),
    "r": (217, 54, 54, 255),
    "b": (64, 132, 214, 255),
    "o": (245, 160, 40, 255),
    "y": (252, 220, 80, 255),
    "h": (255, 255, 255, 128),
}

ART = """
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


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + b"".join(bytes(PALETTE[c]) for c in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    rows = ART.split()
    Path(__file__).with_name("rocket.png").write_bytes(png(rows))
