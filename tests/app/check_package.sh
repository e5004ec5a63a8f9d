#!/usr/bin/env bash
# Makes the Debian package from the build tree and checks it as Debian's own tools see it: its
# relations and files (dpkg-deb), its policy (lintian), and a conversion by the unpacked
# pixdraft-convert, without --templates, from a folder that holds none. Installs nothing into
# the system.
# Usage: check_package.sh CPACK BUILD_DIR VERSION PICTURE
set -euo pipefail
cpack=$1 build=$2 version=$3 picture=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$*" >&2
  exit 1
}

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
deb=$work/out/pixdraft_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "cpack made $(ls "$work/out"), not $(basename "$deb")"

# Relations: what the programs link to, as dpkg-shlibdeps finds it with its versions; Qt's image
# decoders, which nothing links; Qt's translations as a recommendation.
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == pixdraft && $(field Version) == "$version" ]] ||
  fail "package $(field Package) $(field Version)"
depends=$(field Depends)
for needed in 'libc6 (>= ' 'libstdc++6 (>= ' 'libqt6core6 (>= ' 'libqt6gui6 (>= ' \
  'libqt6widgets6 (>= ' 'qt6-image-formats-plugins'; do
  [[ ", $depends" == *", $needed"* ]] || fail "Depends lacks \"$needed\": $depends"
done
[[ $(field Recommends) == qt6-translations-l10n ]] || fail "Recommends: $(field Recommends)"

# Files, with their modes and owners; folders all root's and open to read.
expected_files=$(sort <<'LIST'
-rwxr-xr-x root/root ./usr/bin/pixdraft
-rwxr-xr-x root/root ./usr/bin/pixdraft-convert
-rwxr-xr-x root/root ./usr/libexec/pixdraft/pixdraft-decode
-rw-r--r-- root/root ./usr/share/applications/pixdraft.desktop
-rw-r--r-- root/root ./usr/share/doc/pixdraft/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/pixdraft/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/pixdraft.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/24x24/apps/pixdraft.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/pixdraft.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/pixdraft.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/pixdraft.png
-rw-r--r-- root/root ./usr/share/man/man1/pixdraft-convert.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/pixdraft.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/example.korvane.pixdraft.metainfo.xml
-rw-r--r-- root/root ./usr/share/pixdraft/pixdraft.dx1
-rw-r--r-- root/root ./usr/share/pixdraft/pixdraft.dx2
LIST
)
contents=$(dpkg-deb --contents "$deb")
files=$(awk '$1 !~ /^d/ { print $1, $2, $6 }' <<<"$contents" | sort)
diff <(echo "$expected_files") <(echo "$files") >&2 || fail "the package's files differ (< expected, > made)"
odd_folders=$(awk '$1 ~ /^d/ && ($1 != "drwxr-xr-x" || $2 != "root/root")' <<<"$contents")
[[ -z $odd_folders ]] || fail "folders: $odd_folders"

# Policy: no error and no warning. Keeping one would take a --suppress-tags here, with the reason.
as_root=()
[[ $(id -u) == 0 ]] && as_root=(--allow-root)
if ! lintian "${as_root[@]}" --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log" >&2
  fail "lintian"
fi

# Unpacked: the converter finds the packaged templates from a folder without any. A mark in the
# packaged header shows which templates it read.
dpkg-deb --extract "$deb" "$work/root"
templates=$work/root/usr/share/pixdraft
printf '999\r\nfrom the package\r\n' | cat - "$templates/pixdraft.dx1" >"$work/header"
cp "$work/header" "$templates/pixdraft.dx1"
mkdir "$work/elsewhere"
cp "$picture" "$work/elsewhere/picture.png"
if ! (cd "$work/elsewhere" && "$work/root/usr/bin/pixdraft-convert" picture.png) \
  >"$work/convert.log" 2>&1; then
  cat "$work/convert.log" >&2
  fail "the unpacked pixdraft-convert failed"
fi
drawing=$work/elsewhere/picture.dxf
footer_size=$(stat -c %s "$templates/pixdraft.dx2")
cmp -n "$(stat -c %s "$work/header")" "$work/header" "$drawing" >&2 ||
  fail "the drawing does not begin with the packaged header"
tail -c "$footer_size" "$drawing" | cmp - "$templates/pixdraft.dx2" >&2 ||
  fail "the drawing does not end with the packaged footer"
