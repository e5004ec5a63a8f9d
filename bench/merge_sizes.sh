#!/usr/bin/env bash
# Entity counts and file sizes of plain and merged drawings: the shipped sample, a 256 x 256
# two-colour logo (a dark ring and a bar on white) and a 256 x 256 photo-like picture (noise
# over a gradient, the worst case for merging).
# Usage: bench/merge_sizes.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter="$PWD/$build/src/app/pixdraft-convert --templates $PWD/templates"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp samples/rocket.png "$work/sample.png"
/usr/bin/python3 - "$work" <<'PY'
import random, sys
from PIL import Image
work = sys.argv[1]
def logo_pixel(x, y):
    ring = 70 ** 2 <= (x - 128) ** 2 + (y - 128) ** 2 < 100 ** 2
    bar = 60 <= x < 196 and 118 <= y < 138
    return (200, 20, 30) if ring or bar else (255, 255, 255)
logo = Image.new("RGB", (256, 256))
logo.putdata([logo_pixel(x, y) for y in range(256) for x in range(256)])
logo.save(f"{work}/logo.png")
random.seed(1)
photo = Image.new("RGB", (256, 256))
photo.putdata([tuple(min(255, max(0, base + random.randint(-12, 12))) for base in (x, y, (x + y) // 2))
               for y in range(256) for x in range(256)])
photo.save(f"{work}/photo.png")
PY

printf '%-8s %-28s %7s %10s\n' picture options TRACEs bytes
for picture in sample logo photo; do
  for options in "" "--merge" "--merge --skip-colour FFFFFF"; do
    [[ $picture == photo && $options == *skip* ]] && continue
    $converter $options -o - "$work/$picture.png" > "$work/out.dxf"
    printf '%-8s %-28s %7d %10d\n' "$picture" "${options:-plain}" \
      "$(grep -c $'^TRACE\r$' "$work/out.dxf")" "$(stat -c %s "$work/out.dxf")"
  done
done
