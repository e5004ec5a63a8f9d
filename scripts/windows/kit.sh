# Sourced by the Windows scripts: finds the Windows kits (find_kits.sh) and unpacks them once
# into a cache outside the sources ($PIXDRAFT_WINDOWS_CACHE, else ~/.cache/pixdraft-windows),
# which the scripts share between checkouts. Sets root, kits (the folder holding the tarballs),
# cache, qt_kit, jpeg_kit, version, windows (the build's folder) and windows_packages.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

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

if ! kits=$("$root/scripts/windows/find_kits.sh"); then
  echo "No Windows kits (qt-6.4.2-mingw-w64.tar.xz) in ../shared/windows nor in" \
       "\$PIXDRAFT_WINDOWS_KITS" >&2
  exit 1
fi
cache=${PIXDRAFT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pixdraft-windows}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
unpacked=$cache
# One checkout at a time unpacks, or builds into the cache (flock "$cache_lock").
exec {cache_lock}>"$cache/lock"
flock "$cache_lock"
unpack qt-6.4.2-mingw-w64.tar.xz
unpack libjpeg-turbo-2.1.5-mingw-w64.tar.xz
flock -u "$cache_lock"
qt_kit=$unpacked/qt-6.4.2-mingw-w64
jpeg_kit=$unpacked/libjpeg-turbo-2.1.5-mingw-w64
version=$(sed -n 's/^project(PixDraft VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
windows=$root/build/windows
# What the Windows build and its tests need beyond the Linux build's packages.
windows_packages=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools wine wine64 xvfb nsis googletest
                  qt6-translations-l10n binutils-mingw-w64-x86-64)
