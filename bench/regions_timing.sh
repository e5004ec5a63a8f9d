#!/usr/bin/env bash
# pixdraft-convert --size 4096 with regions as polylines and as hatches against the plain
# export of the same raster, on a 4096 x 4096 PNG of noise (every pixel its own region) and on a
# 4096 x 4096 four-colour logo: the median wall time of three runs, its ratio to the plain
# export's, and the peak resident memory. The drawings stream to /dev/null through -o -.
# Usage: bench/regions_timing.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter="$PWD/$build/src/app/pixdraft-convert --templates $PWD/templates --size 4096 -o -"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import os, sys
from PIL import Image, ImageDraw
work, n = sys.argv[1], 4096
Image.frombytes("RGB", (n, n), os.urandom(n * n * 3)).save(f"{work}/noise.png", compress_level=1)
logo = Image.new("RGB", (n, n), (255, 255, 255))
draw = ImageDraw.Draw(logo)
draw.ellipse((400, 400, 3696, 3696), fill=(200, 20, 30))
draw.ellipse((1000, 1000, 3096, 3096), fill=(255, 255, 255))
draw.rectangle((600, 1900, 3500, 2200), fill=(20, 40, 120))
for i in range(12):
    draw.rectangle((700 + i * 230, 3000, 800 + i * 230, 3800), fill=(0, 0, 0))
logo.save(f"{work}/logo.png")
PY

run() {  # run PICTURE OPTIONS...: prints "seconds peak_KiB" of one conversion
  /usr/bin/time -f "%e %M" -o "$work/usage" $converter "${@:2}" "$work/$1" > /dev/null
  tail -n 1 "$work/usage"
}
median() { sort -n | sed -n 2p; }

printf '%-6s %-36s %8s %7s %9s\n' picture options seconds ratio 'peak MiB'
for picture in noise.png logo.png; do
  plain=
  for options in "" "--entity polyline --merge=regions" "--entity hatch --merge=regions"; do
    runs=$(for _ in 1 2 3; do run "$picture" $options; done)
    seconds=$(cut -d' ' -f1 <<<"$runs" | median)
    peak=$(cut -d' ' -f2 <<<"$runs" | sort -n | tail -n 1)
    plain=${plain:-$seconds}
    printf '%-6s %-36s %8.2f %7.2f %9.1f\n' "${picture%.png}" "${options:-plain}" "$seconds" \
      "$(bc -l <<< "$seconds / $plain")" "$(bc -l <<< "$peak / 1024")"
  done
done
