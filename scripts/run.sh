#!/usr/bin/env bash
# Installs what is missing, builds, and starts PixDraft with the sample picture loaded (or with
# the arguments given); "Save to DXF" then writes build/sample/balloon.dxf. Without a display it
# converts the sample with pixdraft-convert instead and prints where the DXF went. Both find the
# build's templates.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p build/sample
cp samples/balloon.png build/sample/

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/release/src/app/pixdraft "${@:-build/sample/balloon.png}"
fi

echo "No display: converting the sample picture with pixdraft-convert instead."
build/release/src/app/pixdraft-convert build/sample/balloon.png
