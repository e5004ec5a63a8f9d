#!/usr/bin/env bash
# Makes the README's pictures of the shipped sample, samples/balloon.png: docs/screenshot.png,
# the window with the sample loaded (Qt's offscreen platform, grabbed through the tests' window
# plugin), docs/options.png, its options dialog with the cad profile chosen, in settings of its
# own, and docs/balloon-dxf.png, two drawings of it as ezdxf's drawing add-on shows them
# (scripts/render_dxf.py); and where the Windows kits are (../shared/windows),
# docs/windows-screenshot.png, the Windows build's window under wine (scripts/windows/test.sh).
# As root: installs what is missing (matplotlib too), builds, draws.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh
if ! dpkg-query -W -f='${Status}' python3-matplotlib 2>/dev/null | grep -q "install ok installed"; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3-matplotlib
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp samples/balloon.png "$work/"
cd "$work"

mkdir -p config/PixDraft
export XDG_CONFIG_HOME=$work/config  # the user's own choice stays out of the pictures
QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$root/build/release/tests/app/plugins \
  QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:grab:$root/docs/screenshot.png \
  "$root/build/release/src/app/pixdraft" balloon.png
printf '[drawing]\nprofile=cad\npixelSize=1\nunits=mm\nleaveOutTransparent=true\nlayers=true\n' \
  > config/PixDraft/PixDraft.ini
QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$root/build/release/tests/app/plugins \
  QT_QPA_GENERIC_PLUGINS=pixdraft-window-closer:grab-options:$root/docs/options.png \
  "$root/build/release/src/app/pixdraft" balloon.png

convert=$root/build/release/src/app/pixdraft-convert
"$convert" -q -o plain.dxf balloon.png
"$convert" -q --skip-transparent --merge -o merged.dxf balloon.png
/usr/bin/python3 "$root/scripts/render_dxf.py" "$root/docs/balloon-dxf.png" \
  "pixdraft-convert balloon.png" plain.dxf --edges "--skip-transparent --merge" merged.dxf
echo "made docs/screenshot.png, docs/options.png and docs/balloon-dxf.png"
if "$root/scripts/windows/find_kits.sh" >/dev/null; then
  "$root/scripts/windows/test.sh" --window-picture "$root/docs/windows-screenshot.png"
fi
