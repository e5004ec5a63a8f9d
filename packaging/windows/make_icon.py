#!/usr/bin/env python3
"""Packs the program's icon pictures into one Windows icon: make_icon.py OUT.ico PNG...

Each PNG goes in as it is (Windows Vista and later read PNG entries), largest last."""
import struct
import sys

entries = []
for name in sys.argv[2:]:
    with open(name, "rb") as f:
        data = f.read()
    # The PNG's own header: its width and height follow the signature and "IHDR".
    width, height = struct.unpack(">II", data[16:24])
    entries.append((width, height, data))

header = struct.pack("<HHH", 0, 1, len(entries))
offset = len(header) + 16 * len(entries)
directory = b""
for width, height, data in entries:
    # 256 is written as 0; 32 bits a pixel, no palette.
    directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(sys.argv[1], "wb") as out:
    out.write(header + directory + b"".join(data for _, _, data in entries))
