#!/usr/bin/env bash
# Peak resident memory of pixdraft-convert --size 2048 against decode_only, which decodes the
# same picture and does nothing else: the difference is what the fit and the export add above
# the decoded picture. The pictures are a 2048 x 2048 PNG of noise (copied 1:1, 4.2 million
# squares, about 1 GB of DXF) and a 4096 x 3072 one (sampled to 2048 x 2048, or 2048 x 1536
# with --keep-aspect). The drawing streams to /dev/null through -o -, or goes to a file.
# Usage: bench/large_size_memory.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter="$PWD/$build/src/app/pixdraft-convert --templates $PWD/templates"
decode_only=$PWD/$build/bench/decode_only
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
work = sys.argv[1]
Image.merge("RGB", [Image.effect_noise((2048, 2048), 80)] * 3).save(f"{work}/2048.png", compress_level=1)
Image.merge("RGB", [Image.effect_noise((4096, 3072), 80)] * 3).save(f"{work}/4096.png", compress_level=1)
PY

peak_kib() {  # peak_kib COMMAND...: runs it, output to /dev/null, and prints its peak in KiB
  /usr/bin/time -f %M -o "$work/usage" "$@" > /dev/null
  tail -n 1 "$work/usage"
}
report() {  # report LABEL PICTURE CONVERTER_OPTIONS...
  local label=$1 picture=$2
  shift 2
  local base peak start end
  base=$(peak_kib "$decode_only" "$work/$picture")
  start=$(date +%s.%N)
  peak=$(peak_kib $converter "$@" "$work/$picture")
  end=$(date +%s.%N)
  printf '%-44s decode_only %6.1f MiB  converter %6.1f MiB  above %5.1f MiB  %5.1f s\n' "$label" \
    "$(bc -l <<< "$base / 1024")" "$(bc -l <<< "$peak / 1024")" \
    "$(bc -l <<< "($peak - $base) / 1024")" "$(bc -l <<< "$end - $start")"
}
report "2048 x 2048, --size 2048 -o -" 2048.png --size 2048 -o -
report "2048 x 2048, --size 2048 --merge -o -" 2048.png --size 2048 --merge -o -
report "2048 x 2048, --size 2048 -o FILE" 2048.png --size 2048 -o "$work/out.dxf"
report "4096 x 3072, --size 2048 -o -" 4096.png --size 2048 -o -
report "4096 x 3072, --size 2048 --keep-aspect -o -" 4096.png --size 2048 --keep-aspect -o -
ls -l "$work/out.dxf" | awk '{ printf "DXF of 2048 x 2048: %d bytes\n", $5 }'
