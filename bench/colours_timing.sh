#!/usr/bin/env bash
# pixdraft-convert --size 4096 with --colours 16 and with a palette of 48 colours against the
# plain export, on a 4096 x 4096 photo-like PNG (smooth colours and noise: millions of distinct
# colours): the median wall time of three runs, its ratio to the plain export's, the peak
# resident memory (the decoding helper's, the larger) and the converter's own peak, where the
# colours are reduced. The drawings stream to /dev/null through -o -.
# Usage: bench/colours_timing.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
converter="$PWD/$build/src/app/pixdraft-convert --templates $PWD/templates --size 4096 -o -"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import random, sys
from PIL import Image, ImageChops
work, n = sys.argv[1], 4096
random.seed(1)
small = Image.new("RGB", (24, 24))
small.putdata([tuple(random.randrange(256) for _ in range(3)) for _ in range(24 * 24)])
noise = Image.merge("RGB", [Image.effect_noise((n, n), 4) for _ in range(3)])
ImageChops.add(small.resize((n, n), Image.BICUBIC), noise, 1, -128).save(
    f"{work}/photo.png", compress_level=1)
with open(f"{work}/beads.txt", "w") as palette:
    for i in range(48):
        palette.write("%02X%02X%02X bead %d\n" % (*(random.randrange(256) for _ in range(3)), i))
PY

run() {  # run OPTIONS...: prints "seconds peak_KiB" of one conversion
  /usr/bin/time -f "%e %M" -o "$work/usage" $converter "$@" "$work/photo.png" > /dev/null
  tail -n 1 "$work/usage"
}
median() { sort -n | sed -n 2p; }
own_peak() {  # own_peak OPTIONS...: the converter's own VmHWM in KiB, read until it ends
  $converter "$@" "$work/photo.png" > /dev/null &
  local pid=$! peak=0 now
  while now=$(awk '/VmHWM/ { print $2 }' /proc/$pid/status 2>/dev/null) && [[ -n $now ]]; do
    peak=$now
    sleep 0.02
  done
  wait $pid
  echo "$peak"
}

printf '%-36s %8s %7s %9s %12s\n' options seconds ratio 'peak MiB' 'convert MiB'
plain=
for options in "" "--colours 16" "--palette $work/beads.txt" "--colours 16 --dither" \
  "--palette $work/beads.txt --dither"; do
  runs=$(for _ in 1 2 3; do run $options; done)
  seconds=$(cut -d' ' -f1 <<<"$runs" | median)
  peak=$(cut -d' ' -f2 <<<"$runs" | sort -n | tail -n 1)
  plain=${plain:-$seconds}
  printf '%-36s %8.2f %7.2f %9.1f %12.1f\n' "${options//$work\//}" "$seconds" \
    "$(bc -l <<< "$seconds / $plain")" "$(bc -l <<< "$peak / 1024")" \
    "$(bc -l <<< "$(own_peak $options) / 1024")"
done
