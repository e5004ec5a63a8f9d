#!/usr/bin/env bash
# Builds PixDraft for 64-bit Windows with mingw-w64 and the Qt and libjpeg-turbo kits, lays out
# build/windows/PixDraft/ (what a user unpacks or installs), checks what each of its programs
# and DLLs imports, and makes build/windows/PixDraft-<version>-win64.zip and
# build/windows/PixDraft-<version>-setup.exe. Installs what is missing first (as root).
# Options after the script's name go to CMake's configuration (scripts/windows/test.sh adds the
# tests with them).
set -euo pipefail
source "$(dirname "$0")/kit.sh"
cd "$root"
scripts/install-deps.sh "${windows_packages[@]}"

# Optimised as the Linux build is (-O2; GCC 12 warns falsely inside its own library at -O3).
cmake -S . -B "$windows/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$qt_kit/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DJPEG_INCLUDE_DIR="$jpeg_kit/include" -DJPEG_LIBRARY="$jpeg_kit/lib/libjpeg.a" \
  -DPIXDRAFT_BENCH=OFF -DBUILD_TESTING=OFF "$@" >/dev/null
cmake --build "$windows/cmake" -j2 --target pixdraft pixdraft-convert pixdraft-decode

folder=$windows/PixDraft
rm -rf "$folder"
cmake --install "$windows/cmake" --component windows --prefix "$folder" --strip >/dev/null
bash scripts/windows/check_imports.sh "$folder"

# The portable zip holds the folder itself; the installer is made from the same files.
rm -f "$windows"/PixDraft-*-win64.zip "$windows"/PixDraft-*-setup.exe
(cd "$windows" && cmake -E tar cf "PixDraft-$version-win64.zip" --format=zip PixDraft)
# The uninstaller removes exactly the files installed, then the folders they leave empty.
list=$windows/installed-files.nsh
{
  (cd "$folder" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  echo '  Delete "$INSTDIR\uninstall.exe"'
  (cd "$folder" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
} > "$list"
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DFILE_LIST="$list" \
  -DOUTFILE="$windows/PixDraft-$version-setup.exe" packaging/windows/installer.nsi
echo "Made $windows/PixDraft-$version-win64.zip and $windows/PixDraft-$version-setup.exe"
