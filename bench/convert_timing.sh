#!/usr/bin/env bash
# Times pixdraft-convert against decode_only on a 256 x 256 PNG and a 4000 x 3000 JPEG with
# hyperfine, for a first conversion and for one that replaces an earlier DXF, and reports the
# converter's peak resident memory.
# Usage: bench/convert_timing.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import random, sys
from PIL import Image
work = sys.argv[1]
random.seed(1)
small = Image.new("RGB", (256, 256))
small.putdata([(x, y, (x * y) & 255) for y in range(256) for x in range(256)])
small.save(f"{work}/small.png")
large = Image.effect_noise((4000, 3000), 60).convert("RGB")
large.save(f"{work}/large.jpg", quality=90)
PY

export QT_QPA_PLATFORM=offscreen
converter="$build/src/app/pixdraft-convert --templates templates"
for picture in small.png large.jpg; do
  dxf="$work/${picture%.*}.dxf"
  # A first conversion, then one that replaces the DXF of the run before: ext4 writes the new
  # file's blocks out at the rename that replaces a file, which the second case pays for.
  hyperfine -N --warmup 3 --runs 30 --prepare "rm -f $dxf" --export-json "$work/first.json" \
    "$build/bench/decode_only $work/$picture" "$converter $work/$picture"
  hyperfine -N --warmup 3 --runs 30 --export-json "$work/again.json" "$converter $work/$picture"
  /usr/bin/python3 - "$work/first.json" "$work/again.json" <<'PY'
import json, sys
decode, first = (r["median"] for r in json.load(open(sys.argv[1]))["results"])
again = json.load(open(sys.argv[2]))["results"][0]["median"]
print(f"median decode_only {decode * 1000:.1f} ms; pixdraft-convert {first * 1000:.1f} ms "
      f"(ratio {first / decode:.2f}), replacing its DXF {again * 1000:.1f} ms "
      f"(ratio {again / decode:.2f})")
PY
  rm -f "$dxf"
  /usr/bin/time -f "pixdraft-convert peak resident memory: %M KiB" $converter "$work/$picture" \
    > /dev/null
done
