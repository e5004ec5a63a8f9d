#!/usr/bin/env bash
# Installs what is missing, builds, and starts PixDraft from the templates' folder, where each
# export finds pixdraft.dx1 and pixdraft.dx2. Without a display it converts the sample picture
# with pixdraft-convert instead and prints where the DXF went.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
root=$PWD

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x build/release/src/app/pixdraft ]]; then
  cd templates
  exec "$root/build/release/src/app/pixdraft" "$@"
fi

echo "No display: converting the sample picture with pixdraft-convert instead."
mkdir -p build/sample
cp samples/rocket.png build/sample/
build/release/src/app/pixdraft-convert --templates templates build/sample/rocket.png
