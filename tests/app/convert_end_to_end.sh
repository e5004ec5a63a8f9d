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
