#!/usr/bin/env bash
# The real window saves the picture named on its command line with the templates beside the
# program (installed, or the build's) when started in a folder without any, and with a folder's
# own when it holds both; a mark in the header tells them apart. No drawing options of the
# user's settings reach it.
# Usage: window_templates.sh PIXDRAFT PLUGIN_PATH TEMPLATES_BESIDE_IT PICTURE
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/empty" "$work/own"
printf '999\r\nown templates\r\n' | cat - "$3/pixdraft.dx1" > "$work/own/pixdraft.dx1"
cp "$3/pixdraft.dx2" "$work/own/"
cp "$4" "$work/picture.png"
for folder in empty own; do
  header=$work/$folder/pixdraft.dx1
  [[ -e $header ]] || header=$3/pixdraft.dx1
  (cd "$work/$folder" && XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$2 \
    QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:save timeout 60 "$1" "$work/picture.png")
  cmp -n "$(stat -c %s "$header")" "$header" "$work/picture.dxf"
done
