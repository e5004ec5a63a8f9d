#!/usr/bin/env bash
# The real converter never lets an output land on an input or on another output, checks every
# output before it decodes, keeps standard output for the drawing alone with "-o -", and leaves
# no staged file behind when a signal ends it. Each case checks the exit status, the whole
# message, and that every file not named as an output is byte for byte as it was.
# Usage: outputs_spare_inputs.sh PIXDRAFT_CONVERT TEMPLATE_DIR NO_UNNAMED_FILES_LIBRARY
set -euo pipefail
convert=$(realpath "$1") no_unnamed=$(realpath "$3")
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
out=$work/out err=$work/err  # outside the folder whose files are compared
mkdir "$work/files"
chmod 755 "$work" "$work/files"  # for a converter run without root
cp -r "$2" "$work/files/tpl"
cd "$work/files"

fail() { echo "FAIL: $*" >&2; exit 1; }
# Names, kinds, link targets and contents of everything here but paths holding $1.
state() { { find . -printf '%p %y %l\n'; find . -type f -exec md5sum {} +; } | sort | grep -vF "${1:-//}"; }
try="Try 'pixdraft-convert --help' for more information."
run=()  # what the converter runs under
# expect STATUS MESSAGE ARGS...: the converter's exit status and standard error; its standard
# output is left in $out.
expect() {
  local status=0 expected=$1 message=$2
  shift 2
  timeout 60 "${run[@]}" "$convert" --templates tpl "$@" > "$out" 2> "$err" || status=$?
  [[ $status == "$expected" ]] || fail "$* exited $status, not $expected: $(cat "$err")"
  [[ $(cat "$err") == "$message" ]] || fail "$*: $(cat "$err")"
}

/usr/bin/python3 -c '
from PIL import Image
Image.new("RGB", (3, 2), (0, 0, 128)).save("p.png")
Image.new("RGB", (4096, 4096), "white").save("large.png")'
printf '000080 navy\nFFFFFF snow\n' > pal.txt
echo "earlier drawing" > p.dxf
ln -s p.png link.png
ln p.png hard.dxf
ln -s c.csv dangling.dxf
echo "not a picture" > bad.png
mkdir folder ro
chmod 555 ro

# 1. Faults: each of these replaced an input or another output, or confirmed a drawing and then
# failed. Now a usage error before anything is read or written.
collide() {  # collide PROBLEM ARGS...
  local problem=$1 before
  shift
  before=$(state)
  expect 2 "pixdraft-convert: $problem"$'\n'"$try" "$@"
  [[ $(state) == "$before" ]] || fail "$*: files changed"
}
collide 'the counts file "p.dxf" is the drawing "p.dxf"' --counts p.dxf p.png
collide 'the counts file "p.png" is the picture "p.png"' --counts p.png p.png
collide 'the counts file "p.png" is the picture "p.png"' --counts p.png -o x.dxf p.png
collide 'the counts file "p.png" is the picture "p.png"' --counts p.png -o - p.png
collide 'the counts file "link.png" is the picture "p.png"' --counts link.png p.png
collide 'the counts file "pal.txt" is the palette "pal.txt"' --counts pal.txt --palette pal.txt p.png
collide 'the counts file "q.dxf" is the drawing "q.dxf"' --counts q.dxf -o q.dxf p.png
collide 'the counts file "c.csv" is the drawing "dangling.dxf"' --counts c.csv -o dangling.dxf p.png
collide 'the drawing "hard.dxf" is the picture "p.png"' -o hard.dxf p.png
collide 'the drawing "tpl/pixdraft.dx2" is the footer template "tpl/pixdraft.dx2"' \
  -o tpl/pixdraft.dx2 p.png
collide 'the drawing "p.dxf" is the picture "p.dxf"' p.png p.dxf

# 2. Fault: an output that could not be written was found only after the picture was decoded
# (19 s for a large one). The picture here is no picture: a refusal of it would come later.
refused() {  # refused FILE REASON ARGS...
  local file=$1 reason=$2 before
  shift 2
  before=$(state)
  expect 1 "pixdraft-convert: bad.png: Impossible de créer le fichier \"$file\". $reason." "$@" bad.png
  [[ $(state) == "$before" ]] || fail "$*: files changed"
}
refused /dev/null "Ce n'est pas un fichier ordinaire" --counts /dev/null
refused "$PWD/folder" "Is a directory" --counts folder
refused "$PWD/folder" "Is a directory" -o folder
[[ $(id -u) != 0 ]] || run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
refused "$PWD/ro/c.csv" "Permission denied" --counts ro/c.csv -o -
run=()

# 3. Fault: with "-o -" the counts' confirmation followed the drawing's EOF on standard output.
expect 0 "" -o - p.png
mv "$out" "$work/alone.dxf"
before=$(state c.csv)
expect 0 $'Counts saved to : \n'"$work/files/c.csv" --counts c.csv -o - p.png
cmp "$out" "$work/alone.dxf" || fail "standard output holds more than the drawing"
expect 0 "" -q --counts c.csv -o - p.png
cmp "$out" "$work/alone.dxf" || fail "standard output holds more than the drawing (-q)"
[[ $(state c.csv) == "$before" ]] || fail "a file not named changed"
expect 2 "pixdraft-convert: --counts - needs the drawing in a file, not on standard output"$'\n'"$try" \
  --counts - -o - p.png

# 4. Fault: with named staging (no unnamed files: FAT, network folders), a signal while the
# drawing was written removed its staged file but left the counts'. Job control keeps SIGINT
# at its default in the background job, as in a terminal.
echo "earlier drawing" > large.dxf
echo "earlier counts" > large.csv
set -m
for signal in TERM INT HUP; do
  before=$(state)
  LD_PRELOAD=$no_unnamed "$convert" --templates tpl --size 4096 --counts large.csv large.png \
    > /dev/null 2> "$err" &
  pid=$!
  until [[ $(find . -name '.pixdraft-*' | wc -l) == 2 ]]; do  # the counts' and the drawing's
    kill -0 "$pid" 2> /dev/null || fail "SIG$signal: ended before both were staged: $(cat "$err")"
    sleep 0.05
  done
  kill "-$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  [[ $status == $((128 + $(kill -l "$signal"))) ]] || fail "SIG$signal: exit $status"
  [[ $(state) == "$before" ]] || fail "SIG$signal left: $(find . -name '.pixdraft-*')"
done
echo "no output landed on an input; every staged file went"
