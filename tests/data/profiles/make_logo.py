#!/usr/bin/env python3
"""Writes logo.png, the profiles' test picture: 4 x 4, a white background that reaches the edge,
a transparent pixel, two red pixels that touch only at a corner and a blue one. Standard library
only; run again only after changing it here."""

import struct
import zlib
from pathlib import Path

W, R, B, T = (255, 255, 255, 255), (200, 16, 46, 255), (30, 90, 168, 255), (0, 0, 0, 0)
ROWS = [[W, W, W, W], [W, R, T, W], [W, B, R, W], [W, W, W, W]]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in ROWS)
Path(__file__).with_name("logo.png").write_bytes(
    b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 6, 0, 0, 0))
    + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
