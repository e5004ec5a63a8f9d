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
PY

# Uninitialised memory reached the drawing: a cut BMP converted, its missing rows holding the
# batch's previous picture; a cut JPEG converted half grey. Now refused, whatever the heap held.
for perturb in 0 85 170; do
  MALLOC_PERTURB_=$perturb run 1 magenta.png cut-green.bmp cut-noise.jpg
  mv err "err.$perturb"
done
cmp err.0 err.85 && cmp err.0 err.170 || fail "the result depends on the heap"
grep -qx "pixdraft-convert: cut-green.bmp: Image non valide." err.0 || fail "cut BMP: $(cat err.0)"
grep -qx "pixdraft-convert: cut-noise.jpg: Image non valide." err.0 || fail "cut JPEG: $(cat err.0)"

# Standard input as the picture: cut short, or endless. /dev/zero is refused once it has given
# more than a picture may hold, within the time the run allows, and leaves no drawing.
run 1 -o stdin.dxf - < cut-noise.png
grep -qx "pixdraft-convert: standard input: Image non valide." err || fail "cut input: $(cat err)"
run 1 -o stdin.dxf - < /dev/zero
grep -qx "pixdraft-convert: standard input: Mémoire insuffisante." err || fail "endless: $(cat err)"
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
grep -qx "pixdraft-convert: magenta.png: Erreur d'écriture dans le flux." err ||
  fail "file-size limit: $(cat err)"
[[ $(cat magenta.dxf) == previous ]] || fail "the earlier DXF changed"
[[ -z $(find . -name '.pixdraft-*') ]] || fail "a temporary file was left"

# An output it could not write still gave exit status 0.
status=0
"$convert" --templates "$templates" magenta.png > /dev/full 2> err || status=$?
[[ $status == 1 ]] || fail "writing to /dev/full: exit $status"
echo "all hostile input handled"
