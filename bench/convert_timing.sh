#!/usr/bin/env bash
# Times pixdraft-convert against decode_only on a 256 x 256 PNG and a 4000 x 3000 JPEG with
# hyperfine, and reports the converter's peak resident memory.
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
for picture in small.png large.jpg; do
  hyperfine --warmup 3 --runs 30 --export-json "$work/${picture%.*}.json" \
    "$build/bench/decode_only $work/$picture" \
    "$build/src/app/pixdraft-convert --templates templates $work/$picture"
  /usr/bin/python3 - "$work/${picture%.*}.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
decode, convert = (r["median"] for r in results)
print(f"median decode_only {decode * 1000:.1f} ms, pixdraft-convert {convert * 1000:.1f} ms, "
      f"ratio {convert / decode:.2f}")
PY
  /usr/bin/time -f "pixdraft-convert peak resident memory: %M KiB" \
    "$build/src/app/pixdraft-convert" --templates templates "$work/$picture" > /dev/null
done
