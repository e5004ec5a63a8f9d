# Sourced by the Windows scripts: finds the Windows kits and unpacks them once, outside the
# sources. Sets root, kits (the folder holding the tarballs), qt_kit and jpeg_kit.
# The kits' folder: $PIXDRAFT_WINDOWS_KITS, else ../shared/windows from the project's root, or
# from the main checkout's root when this is a second worktree of it.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

find_kits() {
  local candidates=("${PIXDRAFT_WINDOWS_KITS:-}" "$root/../shared/windows")
  local common
  if common=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2>/dev/null); then
    candidates+=("$(dirname "$common")/../shared/windows")
  fi
  local folder
  for folder in "${candidates[@]}"; do
    if [[ -n $folder && -f $folder/qt-6.4.2-mingw-w64.tar.xz ]]; then
      (cd "$folder" && pwd)
      return 0
    fi
  done
  return 1
}

# Unpacks $1 (a tarball in $kits) into $unpacked once; a new tarball replaces the old tree.
unpack() {
  local tarball=$kits/$1 name=${1%.tar.xz}
  local stamp=$unpacked/$name.stamp
  local sum
  sum=$(sha256sum "$tarball" | cut -d' ' -f1)
  if [[ ! -f $stamp || $(cat "$stamp") != "$sum" ]]; then
    rm -rf "${unpacked:?}/$name"
    mkdir -p "$unpacked"
    tar -C "$unpacked" -xJf "$tarball"
    echo "$sum" > "$stamp"
  fi
}

if ! kits=$(find_kits); then
  echo "No Windows kits (qt-6.4.2-mingw-w64.tar.xz) in ../shared/windows nor in" \
       "\$PIXDRAFT_WINDOWS_KITS" >&2
  exit 1
fi
unpacked=${PIXDRAFT_WINDOWS_UNPACKED:-$root/build/windows-kit}
unpack qt-6.4.2-mingw-w64.tar.xz
unpack libjpeg-turbo-2.1.5-mingw-w64.tar.xz
qt_kit=$unpacked/qt-6.4.2-mingw-w64
jpeg_kit=$unpacked/libjpeg-turbo-2.1.5-mingw-w64
version=$(sed -n 's/^project(PixDraft VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
windows=$root/build/windows
# What the Windows build and its tests need beyond the Linux build's packages.
windows_packages=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools wine wine64 xvfb nsis googletest
                  qt6-translations-l10n binutils-mingw-w64-x86-64 zip)
