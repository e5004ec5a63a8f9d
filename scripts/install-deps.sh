#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that building, testing and running need and
# that this machine lacks. Installs nothing when everything is there. Run as root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev
  # Qt, with the image decoders beyond its own and the translations of its dialogs
  qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n libgl-dev
  # libjpeg, which decodes JPEG frames for us
  libjpeg-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev python3-ezdxf python3-pil locales
  # GDAL's ogrinfo, a second real DXF reader for the tests; strace, to see a save's system calls
  gdal-bin strace
  # readers of the profiles' drawings: OpenSCAD, and Inkscape's DXF import with what it imports
  openscad inkscape python3-lxml python3-cssselect python3-numpy
  # validators of the installed menu entry and metainfo file; readers of the manual pages
  desktop-file-utils appstream man-db groff-base
  # the Debian package: its dependencies (dpkg-shlibdeps, file) and its checker
  dpkg-dev file lintian
)

# More, named by the caller (scripts/windows/build.sh names what the Windows build needs).
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma, so the tests can show that DXF numbers ignore it.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi
