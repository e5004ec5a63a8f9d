#!/usr/bin/env bash
# The real window saves a picture named on its command line, started in a folder without
# templates (it then reads those beside the program: installed, or the build's) and in a folder
# holding both (it then reads those). A mark in a header shows which templates a drawing has.
# Usage: window_templates.sh PIXDRAFT PLUGIN_PATH TEMPLATES_BESIDE_IT PICTURE
set -euo pipefail
pixdraft=$(realpath "$1") plugins=$(realpath "$2") beside=$3 picture=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# save_in FOLDER HEADER: saves from FOLDER and checks that the drawing begins with HEADER.
save_in() {
  cp "$picture" "$work/picture.png"
  rm -f "$work/picture.dxf"
  (cd "$1" && QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$plugins \
    QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:save timeout 60 "$pixdraft" "$work/picture.png") ||
    fail "the window did not save from $1"
  cmp -n "$(stat -c %s "$2")" "$2" "$work/picture.dxf" || fail "saved from $1 with other templates"
}

mkdir "$work/empty" "$work/own"
save_in "$work/empty" "$beside/pixdraft.dx1"

printf '999\r\nown templates\r\n' | cat - "$beside/pixdraft.dx1" > "$work/own/pixdraft.dx1"
cp "$beside/pixdraft.dx2" "$work/own/"
save_in "$work/own" "$work/own/pixdraft.dx1"
echo "the window found its templates"
