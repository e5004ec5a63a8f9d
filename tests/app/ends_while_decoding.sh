#!/usr/bin/env bash
# The real window, started with a picture whose decode takes seconds (a TIFF of one column and
# 268,435,455 rows: its decoder works row by row), is told to exit half a second in. It must end
# at once, its decode stopped, not when the decode would have ended.
# Usage: ends_while_decoding.sh PIXDRAFT   (the window closer plugin set in the environment)
set -euo pipefail
pixdraft=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

/usr/bin/python3 - <<'PY'
import struct, zlib
rows = 268435455
deflate, zeros, left, parts = zlib.compressobj(9), bytes(1 << 24), rows, []
while left:
    parts.append(deflate.compress(zeros[:min(left, len(zeros))]))
    left -= min(left, len(zeros))
strip = b"".join(parts) + deflate.flush()
strip += bytes(len(strip) % 2)
# Grey, 8 bits, deflate, one strip of all the rows.
tags = [(256, 4, 1), (257, 4, rows), (258, 3, 8), (259, 3, 8), (262, 3, 1), (273, 4, 8),
        (277, 3, 1), (278, 4, rows), (279, 4, len(strip))]
ifd = struct.pack("<H", len(tags)) + b"".join(
    struct.pack("<HHIHH" if kind == 3 else "<HHII", tag, kind, 1, value, *([0] if kind == 3 else []))
    for tag, kind, value in tags) + bytes(4)
open("tall.tiff", "wb").write(b"II*\0" + struct.pack("<I", 8 + len(strip)) + strip + ifd)
PY

start=$(date +%s%N)
status=0
timeout 30 "$pixdraft" tall.tiff || status=$?
seconds=$(( ($(date +%s%N) - start) / 1000000000 ))
[[ $status == 0 ]] || { echo "FAIL: exit status $status" >&2; exit 1; }
# The decode alone takes about ten seconds of CPU.
(( seconds < 4 )) || { echo "FAIL: ended after $seconds s" >&2; exit 1; }
echo "ended after $seconds s"
