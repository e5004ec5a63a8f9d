#!/usr/bin/env bash
# Makes the few pictures Qt cannot write itself (several frames, CMYK), and the fuzzer's seeds,
# with ImageMagick. Run from anywhere; rewrites the files in place. Each stays a few hundred bytes.
set -euo pipefail
convert=${CONVERT:-/usr/bin/convert}
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/../../../fuzz/seeds/pictures

# Several frames: the first is red 3 x 2, the later ones blue and of another size, so a test can
# tell which one was decoded.
"$convert" -size 3x2 xc:'#FF0000' -size 3x2 xc:'#0000FF' -delay 10 -loop 0 -strip \
  "$here/animated.gif"
"$convert" -size 3x2 xc:'#FF0000' -size 5x4 xc:'#0000FF' -strip -depth 8 -compress none \
  "$here/multipage.tiff"
"$convert" -size 3x2 xc:'#FF0000' -size 5x4 xc:'#0000FF' -strip "$here/multi.ico"

# Inks only: the decoder has to turn them into RGB. 40 % cyan, 0 magenta, 100 % yellow, 20 % black
# is about (122, 204, 0).
"$convert" -size 8x8 xc:'cmyk(40%,0%,100%,20%)' -colorspace CMYK -strip -quality 95 \
  "$here/cmyk.jpg"

# Seeds: one small picture per format, with transparency where the format has it.
rm -f "$seeds"/*
pattern=(-size 6x5 gradient:'#FF000080-#00FF00' -fill '#0000FFC0' -draw 'point 2,2')
"$convert" "${pattern[@]}" -strip "$seeds/seed.png"
"$convert" "${pattern[@]}" -strip -define png:color-type=3 "PNG8:$seeds/palette.png"
"$convert" "${pattern[@]}" -strip -depth 16 "PNG64:$seeds/deep.png"
"$convert" "${pattern[@]}" -strip -colorspace Gray "$seeds/grey.png"
"$convert" "${pattern[@]}" -strip -quality 80 "$seeds/seed.jpg"
"$convert" "${pattern[@]}" -strip -quality 80 -interlace Plane "$seeds/progressive.jpg"
"$convert" "${pattern[@]}" -strip "BMP3:$seeds/seed.bmp"
"$convert" "${pattern[@]}" -strip "$seeds/seed.gif"
"$convert" "${pattern[@]}" -strip "$seeds/seed.ico"
"$convert" "${pattern[@]}" -strip -compress lzw "$seeds/seed.tiff"
"$convert" "${pattern[@]}" -strip -define webp:lossless=true "$seeds/lossless.webp"
"$convert" "${pattern[@]}" -strip -quality 50 "$seeds/lossy.webp"
cp "$here/animated.gif" "$here/multipage.tiff" "$here/multi.ico" "$here/cmyk.jpg" "$seeds/"
# TGA, which ImageMagick writes only from the bottom up: Pillow's, of each kind a TGA holds.
/usr/bin/python3 - "$seeds" <<'PY'
import sys
from PIL import Image
seeds = sys.argv[1]
rgba = Image.new("RGBA", (6, 5))
rgba.putdata([(x * 40, y * 50, 255 - x * 40, 128 + x * y * 6) for y in range(5) for x in range(6)])
rgba.save(f"{seeds}/seed.tga", orientation=1)
rgba.save(f"{seeds}/rle.tga", compression="tga_rle")
rgba.convert("RGB").quantize(5).save(f"{seeds}/mapped-rle.tga", compression="tga_rle")
rgba.convert("LA").save(f"{seeds}/grey.tga")
PY
