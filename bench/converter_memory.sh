#!/usr/bin/env bash
# Peak memory and wall time of pixdraft-convert on hostile and large input. Pictures decode in a
# helper process, so two peaks are given: GNU time's, that of the larger of the two processes,
# and, where a memory cgroup can be made (as root), that of both together (page cache of what
# they read included). The drawing streams to /dev/null, so no written file is counted.
# Usage: bench/converter_memory.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter=$PWD/$build/src/app/pixdraft-convert
templates=$PWD/templates
work=$(mktemp -d)
group=/sys/fs/cgroup/memory/pixdraft-bench-$$
mkdir "$group" 2>/dev/null || group=
trap 'rm -rf "$work"; [[ -z $group ]] || rmdir "$group"' EXIT
cd "$work"

/usr/bin/python3 - <<'PY'
import io, struct, zlib
from PIL import Image
small = Image.new("RGB", (256, 256))
small.putdata([(x, y, (x * y) & 255) for y in range(256) for x in range(256)])
small.save("small.png")

def declaring(side, progressive):  # a JPEG of a few hundred bytes that declares side x side
    data = io.BytesIO()
    Image.new("RGB", (16, 16), (200, 30, 30)).save(data, "JPEG", quality=90, progressive=progressive)
    jpeg = bytearray(data.getvalue())
    frame = jpeg.index(b"\xff\xc2" if progressive else b"\xff\xc0")  # height, width at +5
    jpeg[frame + 5:frame + 9] = side.to_bytes(2, "big") * 2
    return jpeg
open("bomb.jpg", "wb").write(declaring(40000, False))
# Progressive, 4:2:0: a frame of 4 bytes a pixel and coefficients of 3; about the largest side
# accepted (12384 is refused).
open("progressive.jpg", "wb").write(declaring(12300, True))

side = 12000
ramp = Image.linear_gradient("L").resize((side, side))
Image.merge("RGB", (ramp, ramp.transpose(Image.Transpose.ROTATE_90), ramp.transpose(Image.Transpose.ROTATE_180))).save("gradient.png", compress_level=1)

# A GIF of 43 bytes: a 16383 x 16383 frame to be restored once shown, which Qt's reader keeps a
# second copy of.
gif = b"GIF89a" + struct.pack("<HHBBB", 16383, 16383, 0x80, 0, 0) + bytes(3) + b"\xff" * 3
gif += b"\x21\xf9\x04\x0c\0\0\0\0\x2c" + struct.pack("<HHHHB", 0, 0, 16383, 16383, 0)
open("restore.gif", "wb").write(gif + b"\x02\x02\x4c\x01\0\x3b")

def tiff(name, width, height, samples, planar=False):  # deflate, all rows in one strip (a plane)
    deflate, row = zlib.compressobj(1), bytes(width * (1 if planar else samples))
    strip = b"".join(deflate.compress(row) for _ in range(height)) + deflate.flush()
    strips = [strip] * (samples if planar else 1)
    data = b"".join(strips)
    data += bytes(len(data) % 2)
    extra = 8 + len(data) + 2 + 12 * 10 + 4  # offset of the arrays after the directory
    offsets = [8 + i * len(strip) for i in range(len(strips))]
    arrays = struct.pack("<3H", 8, 8, 8)[:2 * samples] + b"".join(
        struct.pack("<%dI" % len(strips), *v) for v in (offsets, [len(strip)] * len(strips)))
    def tag(number, kind, count, value):
        return struct.pack("<HHIHH" if kind == 3 and count == 1 else "<HHII", number, kind, count,
                           value, *([0] if kind == 3 and count == 1 else []))
    many = len(strips) > 1
    tags = [tag(256, 4, 1, width), tag(257, 4, 1, height),
            tag(258, 3, samples, extra if samples > 1 else 8), tag(259, 3, 1, 8),
            tag(262, 3, 1, 2 if samples == 3 else 1),
            tag(273, 4, len(strips), extra + 6 if many else offsets[0]), tag(277, 3, 1, samples),
            tag(278, 4, 1, height), tag(279, 4, len(strips), extra + 6 + 4 * len(strips) if many else len(strip)),
            tag(284, 3, 1, 2 if planar else 1)]
    directory = struct.pack("<H", 10) + b"".join(tags) + bytes(4)
    open(name, "wb").write(b"II*\0" + struct.pack("<I", 8 + len(data)) + data + directory + arrays)
tiff("one-strip.tiff", 11000, 11000, 3)
tiff("one-strip-16383.tiff", 16383, 16383, 3)
tiff("planar.tiff", 11000, 11000, 3, planar=True)
tiff("tall.tiff", 1, 268435455, 1)

# A JPEG of 20,000 scans: each passes over the whole frame again.
data = io.BytesIO()
Image.new("RGB", (2048, 2048), (90, 160, 40)).save(data, "JPEG", quality=75, progressive=True)
jpeg = data.getvalue()
scans = jpeg.split(b"\xff\xda")
smallest = min(scans[2:], key=len)
open("scans.jpg", "wb").write(jpeg[:-2] + (b"\xff\xda" + smallest.removesuffix(b"\xff\xd9")) * 20000 + b"\xff\xd9")

# One region of millions of one-pixel holes: white, black at every odd column of every odd row.
rows = b"\xff" * 4096 + b"\xff\0" * 2048
Image.frombytes("L", (4096, 4096), rows * 2048).convert("RGB").save("holes.png")

# An MNG that loops over its one frame 2^31 - 1 times.
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
rows = b"".join(b"\0" + b"\x80\x20\x10" * 16 for _ in range(16))
open("loop.mng", "wb").write(b"\x8aMNG\r\n\x1a\n" + chunk(b"MHDR", struct.pack(">7I", 16, 16, 1, 0, 0, 0, 1))
    + chunk(b"LOOP", struct.pack(">BBI", 0, 0, 0x7fffffff))
    + chunk(b"IHDR", struct.pack(">IIBBBBB", 16, 16, 8, 2, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(rows))
    + chunk(b"IEND", b"") + chunk(b"ENDL", b"\0") + chunk(b"MEND", b""))
PY
mkdir -p huge-templates
head -c $((64 << 20)) /dev/zero | tr '\0' '\n' > huge-templates/pixdraft.dx1
cp huge-templates/pixdraft.dx1 huge-templates/pixdraft.dx2

measure() {  # measure LABEL TEMPLATE_DIR PICTURE [OPTION]...
  local status=0 together=- label=$1 templates=$2 picture=$3
  shift 3
  [[ -z $group ]] || echo 0 > "$group/memory.max_usage_in_bytes"
  /usr/bin/time -f "%M %e" -o usage bash -c '[[ -z $1 ]] || echo $$ > "$1/cgroup.procs"; shift; exec "$@"' \
    _ "$group" "$converter" --templates "$templates" "$@" -o - "$picture" > /dev/null 2> err || status=$?
  read -r kib seconds < <(tail -n 1 usage)  # time prefixes a line when the exit is not 0
  [[ -z $group ]] || together=$(awk "BEGIN { printf \"%.1f\", $(cat "$group/memory.max_usage_in_bytes") / 1048576 }")
  printf '%-50s exit %d  peak %7.1f MiB  both %7s MiB  %6.2f s  %s\n' "$label" "$status" \
    "$(awk "BEGIN { print $kib / 1024 }")" "$together" "$seconds" "$(head -c 60 err)"
}
size() { echo "$(( ($(stat -c %s "$1") + 1023) >> 10 )) KiB"; }
measure "256 x 256 PNG" "$templates" small.png
measure "$(stat -c %s bomb.jpg)-byte JPEG declaring 40000 x 40000" "$templates" bomb.jpg
measure "12000 x 12000 gradient PNG ($(size gradient.png))" "$templates" gradient.png
measure "256 x 256 PNG, 64 MiB templates of line breaks" huge-templates small.png
measure "$(stat -c %s restore.gif)-byte GIF, 16383 x 16383, restored" "$templates" restore.gif
measure "progressive JPEG declaring 12300 x 12300" "$templates" progressive.jpg
measure "one-strip TIFF 11000 x 11000 ($(size one-strip.tiff))" "$templates" one-strip.tiff
measure "one-strip TIFF 16383 x 16383 ($(size one-strip-16383.tiff))" "$templates" one-strip-16383.tiff
measure "planar TIFF 11000 x 11000 ($(size planar.tiff))" "$templates" planar.tiff
measure "TIFF 1 x 268435455 ($(size tall.tiff))" "$templates" tall.tiff
measure "JPEG of 20000 scans, 2048 x 2048 ($(size scans.jpg))" "$templates" scans.jpg
measure "MNG looping 2^31 - 1 times ($(stat -c %s loop.mng) bytes)" "$templates" loop.mng
for entity in hatch polyline; do
  measure "4096 x 4096, one region of 4 million holes, $entity" "$templates" holes.png \
    --size 4096 --merge=regions --entity "$entity"
done
