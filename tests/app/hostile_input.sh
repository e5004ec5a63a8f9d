#!/usr/bin/env bash
# The real converter against hostile input: pictures cut short, FIFOs, a file-size limit, an
# output it cannot write. Each check stands for a fault it once had.
# Usage: hostile_input.sh PIXDRAFT_CONVERT TEMPLATE_DIR DECODER_CHATTER_SHOWN(0|1)
set -euo pipefail
convert=$(realpath "$1") templates=$(realpath "$2") chatter_shown=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
# run STATUS ARGS...: converts, leaving standard output in out and standard error in err.
run() {
  local expected=$1 status=0
  shift
  timeout 20 "$convert" --templates "$templates" "$@" > out 2> err || status=$?
  [[ $status == "$expected" ]] || fail "$* exited $status, not $expected: $(cat err)"
}

/usr/bin/python3 - <<'PY'
from PIL import Image
Image.new("RGB", (100, 100), (255, 0, 255)).save("magenta.png")
Image.new("RGB", (100, 100), (0, 200, 0)).save("green.bmp")
Image.effect_noise((100, 100), 50).convert("RGB").save("noise.jpg", quality=90)
Image.effect_noise((100, 100), 50).convert("RGB").save("noise.png")
Image.effect_noise((100, 100), 50).convert("RGB").save("noise.tiff")
def cut(name, keep):
    data = open(name, "rb").read()
    open("cut-" + name, "wb").write(data[:keep(len(data))])
cut("green.bmp", lambda n: 54 + (n - 54) // 4)  # a quarter of its pixel data
for name in ("noise.jpg", "noise.png", "noise.tiff"):
    cut(name, lambda n: n // 2)
def rle_bmp(name, bits, runs):  # 16 x 16, compressed by runs that leave pixels unset
    runs += bytes(64)  # as a file's pixel data may be padded after its end
    palette = bytes([30, 20, 10, 0, 0, 0, 200, 0])
    offset = 14 + 40 + len(palette)
    head = b"BM" + (offset + len(runs)).to_bytes(4, "little") + bytes(4) + offset.to_bytes(4, "little")
    info = [40, 16, 16, 1 | bits << 16, 1 if bits == 8 else 2, len(runs), 2835, 2835, 2, 0]
    open(name, "wb").write(head + b"".join(v.to_bytes(4, "little") for v in info) + palette + runs)
rle_bmp("rle8-ends-at-once.bmp", 8, b"\0\1")
rle_bmp("rle8-skips-rows.bmp", 8, b"\x10\1\0\2\0\x0A\x10\1\0\1")
rle_bmp("rle4-ends-early.bmp", 4, b"\x10\x11\0\0\0\1")
PY

# Uninitialised memory reached the drawing: a cut BMP converted, its missing rows holding the
# batch's previous picture; a cut JPEG converted half grey. Now refused, whatever the heap held.
# BMPs whose compressed data leaves pixels unset, as the format allows, drew the heap too, alone
# or after another picture: now the same drawing, whatever the heap held.
rle=(rle8-ends-at-once.bmp rle8-skips-rows.bmp rle4-ends-early.bmp)
for perturb in 0 85 170; do
  MALLOC_PERTURB_=$perturb run 0 "${rle[@]}"
  cat rle*.dxf > "drawings.alone.$perturb"
  MALLOC_PERTURB_=$perturb run 1 magenta.png cut-green.bmp cut-noise.jpg "${rle[@]}"
  mv err "err.$perturb"
  cat rle*.dxf > "drawings.$perturb"
done
cmp err.0 err.85 && cmp err.0 err.170 || fail "the result depends on the heap"
for drawings in drawings.*; do cmp drawings.0 "$drawings" || fail "the drawings depend on the heap"; done
grep -qx "pixdraft-convert: cut-green.bmp: Image non valide." err.0 || fail "cut BMP: $(cat err.0)"
grep -qx "pixdraft-convert: cut-noise.jpg: Image non valide." err.0 || fail "cut JPEG: $(cat err.0)"

# Standard input as the picture: cut short, or endless. /dev/zero is refused once it has given
# more than a picture may hold, within the time the run allows, and leaves no drawing.
run 1 -o stdin.dxf - < cut-noise.png
grep -qx "pixdraft-convert: standard input: Image non valide." err || fail "cut input: $(cat err)"
run 1 -o stdin.dxf - < /dev/zero
grep -qx "pixdraft-convert: standard input: Mémoire insuffisante." err || fail "endless: $(cat err)"
run 1 -o stdin.dxf - < .  # a folder opens, but every read fails
grep -qx "pixdraft-convert: standard input: Erreur de lecture du flux." err || fail "read error: $(cat err)"
[[ ! -e stdin.dxf ]] || fail "a drawing was made of a refused input"

# A FIFO as the picture or as a template blocked the converter for good.
mkfifo fifo.png
mkdir fifo-templates
mkfifo fifo-templates/pixdraft.dx1
cp "$templates/pixdraft.dx2" fifo-templates/
run 1 fifo.png
grep -q "fifo.png\". Ce n'est pas un fichier ordinaire.$" err || fail "FIFO picture: $(cat err)"
run 1 --templates fifo-templates magenta.png
grep -q "pixdraft.dx1\". Ce n'est pas un fichier ordinaire.$" err || fail "FIFO template: $(cat err)"

# Decoders printed their own lines ("libpng error: Read Error", libtiff's) around ours.
if [[ $chatter_shown == 0 ]]; then
  run 1 cut-noise.png cut-noise.tiff
  [[ $(wc -l < err) == 2 ]] || fail "more than the program's own lines: $(cat err)"
fi

# A file-size limit killed the converter with SIGXFSZ, without a word, its temporary file left.
echo previous > magenta.dxf
status=0
(ulimit -f 100 && exec "$convert" --templates "$templates" magenta.png > out 2> err) || status=$?
[[ $status == 1 ]] || fail "under a file-size limit: exit $status"
grep -qx "pixdraft-convert: magenta.png: Erreur d'écriture dans le flux \"$PWD/magenta.dxf\". File too large." err ||
  fail "file-size limit: $(cat err)"
[[ $(cat magenta.dxf) == previous ]] || fail "the earlier DXF changed"
[[ -z $(find . -name '.pixdraft-*') ]] || fail "a temporary file was left"

# So did a drawing streamed to standard output, redirected to a file.
status=0
(ulimit -f 100 && exec "$convert" --templates "$templates" -o - magenta.png > out 2> err) || status=$?
[[ $status == 1 ]] || fail "streaming under a file-size limit: exit $status"
[[ $(cat err) == "pixdraft-convert: magenta.png: Erreur d'écriture dans le flux." ]] ||
  fail "stream limit: $(cat err)"

# An output it could not write still gave exit status 0.
status=0
"$convert" --templates "$templates" magenta.png > /dev/full 2> err || status=$?
[[ $status == 1 ]] || fail "writing to /dev/full: exit $status"
echo "all hostile input handled"
