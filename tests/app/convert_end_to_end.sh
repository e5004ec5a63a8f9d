#!/usr/bin/env bash
# Converts real pictures with pixdraft-convert and checks each DXF against the picture.
# Usage: convert_end_to_end.sh PIXDRAFT_CONVERT TEMPLATE_DIR SAMPLE_PICTURE CHECK_SCRIPT
set -euo pipefail
convert=$1 templates=$2 sample=$3 check=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$sample" "$work/sample.png"
# A translucent picture, and a GIF whose second frame must not count. Both within the working
# raster: ezdxf takes seconds over the 65,536 squares of a stretched one, and the stretch is
# checked pixel by pixel in-process.
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
work = sys.argv[1]
big = Image.new("RGBA", (60, 40))
big.putdata([(x * 4, y * 6, (x * y) % 256, (x + y) * 3) for y in range(40) for x in range(60)])
big.save(f"{work}/big.png")
frames = [Image.new("RGB", (5, 3), colour) for colour in ((10, 200, 30), (250, 0, 0))]
frames[0].save(f"{work}/anim.gif", save_all=True, append_images=frames[1:])
PY

"$convert" --templates "$templates" "$work/sample.png" "$work/big.png" "$work/anim.gif"
# The sample through standard input: the same drawing.
"$convert" --templates "$templates" -q -o "$work/piped.dxf" - < "$work/sample.png"
cmp "$work/sample.dxf" "$work/piped.dxf"
/usr/bin/python3 "$check" "$work/sample.png" "$work/sample.dxf" "$work/big.png" "$work/big.dxf" \
  "$work/anim.gif" "$work/anim.dxf"

# TGA pictures as editors write them, plain and run-length encoded, grey, grey and alpha,
# colour-mapped, of 24 and 32 bits, from the bottom row up and from the top down; and icons and
# cursors, whose headers an uncompressed TGA's resembles. Fault: the TGA pictures were taken for
# cursors and refused.
mkdir "$work/no-signature"
/usr/bin/python3 - "$work/no-signature" <<'PY'
import sys
from PIL import Image
work = sys.argv[1]
rgba = Image.new("RGBA", (7, 5))
rgba.putdata([(x * 36, y * 60, 200 - x * y * 5, 255 if (x + y) % 3 else 90)
              for y in range(5) for x in range(7)])
for mode in ("L", "LA", "P", "RGB", "RGBA"):
    picture = rgba.convert("RGB").quantize(9) if mode == "P" else rgba.convert(mode)
    picture.save(f"{work}/{mode}.tga")
    picture.save(f"{work}/{mode}-rle.tga", compression="tga_rle")
rgba.save(f"{work}/RGBA-top-down.tga", orientation=1)
# Qt's icon reader rounds translucent colours its own way: opaque and clear pixels only.
icon = rgba.resize((16, 16))
icon.putalpha(icon.getchannel("A").point(lambda a: 255 if a > 128 else 0))
icon.save(f"{work}/bitmap.ico", bitmap_format="bmp")
icon.save(f"{work}/png.ico")
with open(f"{work}/bitmap.ico", "rb") as icon:
    cursor = bytearray(icon.read())
cursor[2] = 2  # a cursor, its hot spot (3, 4) where an icon keeps planes and depth
cursor[10:14] = bytes((3, 0, 4, 0))
with open(f"{work}/pointer.cur", "wb") as out:
    out.write(cursor)
PY
pairs=()
templates_before=$(cat "$templates"/* | md5sum)
for picture in "$work"/no-signature/*; do
  cp "$picture" "$work/before"
  output=$("$convert" --templates "$templates" "$picture" 2>&1) ||
    { echo "$picture: exit status $?: $output" >&2; exit 1; }
  [[ $output == "DXF File saved to : "$'\n'"${picture%.*}.dxf" ]] ||
    { echo "$picture: $output" >&2; exit 1; }
  cmp "$picture" "$work/before"
  pairs+=("$picture" "${picture%.*}.dxf")
done
[[ $(cat "$templates"/* | md5sum) == "$templates_before" ]]
/usr/bin/python3 "$check" "${pairs[@]}"
