#!/usr/bin/env bash
# Peak resident memory and wall time of pixdraft-convert on hostile and large input: a 256 x 256
# PNG, a JPEG of a few hundred bytes that declares 40000 x 40000 pixels (refused), a 12000 x 12000
# PNG of a smooth gradient, and templates of 64 MiB that hold nothing but line breaks.
# Usage: bench/converter_memory.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter=$PWD/$build/src/app/pixdraft-convert
templates=$PWD/templates
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

/usr/bin/python3 - <<'PY'
from PIL import Image
small = Image.new("RGB", (256, 256))
small.putdata([(x, y, (x * y) & 255) for y in range(256) for x in range(256)])
small.save("small.png")
Image.new("RGB", (16, 16), (200, 30, 30)).save("bomb.jpg", quality=90)
jpeg = bytearray(open("bomb.jpg", "rb").read())
frame = jpeg.index(b"\xff\xc0")  # baseline frame header: height, then width, at +5
jpeg[frame + 5:frame + 9] = (40000).to_bytes(2, "big") * 2
open("bomb.jpg", "wb").write(jpeg)
side = 12000
ramp = Image.linear_gradient("L").resize((side, side))
Image.merge("RGB", (ramp, ramp.transpose(Image.Transpose.ROTATE_90), ramp.transpose(Image.Transpose.ROTATE_180))).save("gradient.png", compress_level=1)
PY
mkdir -p huge-templates
head -c $((64 << 20)) /dev/zero | tr '\0' '\n' > huge-templates/pixdraft.dx1
cp huge-templates/pixdraft.dx1 huge-templates/pixdraft.dx2

measure() {  # measure LABEL TEMPLATE_DIR PICTURE
  local status=0
  /usr/bin/time -f "%M %e" -o usage "$converter" --templates "$2" "$3" > /dev/null 2> err || status=$?
  read -r kib seconds < <(tail -n 1 usage)  # time prefixes a line when the exit is not 0
  printf '%-44s exit %d  peak %7.1f MiB  %6.2f s  %s\n' "$1" "$status" "$(awk "BEGIN { print $kib / 1024 }")" \
    "$seconds" "$(head -c 90 err)"
}
measure "256 x 256 PNG" "$templates" small.png
measure "$(stat -c %s bomb.jpg)-byte JPEG declaring 40000 x 40000" "$templates" bomb.jpg
measure "12000 x 12000 gradient PNG ($(( $(stat -c %s gradient.png) >> 20 )) MiB)" "$templates" gradient.png
measure "256 x 256 PNG, 64 MiB templates of line breaks" huge-templates small.png
