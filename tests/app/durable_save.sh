#!/usr/bin/env bash
# A save is durable: the real converter, traced, puts the drawing's data on the disk before it
# gives the drawing a name or renames it over the old one, and the folder's entry after the
# rename. Without it a power cut right after "saved" could leave an empty file in the old one's
# place. Checked for a new drawing and for one that replaces another, which is staged private
# (0600) until it has the old one's mode, never open to those the old one kept out; and for one
# written over in place (its folder read-only to the user), whose data is on the disk before the
# save is reported done.
# Usage: durable_save.sh PIXDRAFT_CONVERT TEMPLATE_DIR PICTURE
set -euo pipefail
convert=$(realpath "$1") templates=$(realpath "$2") picture=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$picture" "$work/picture.png"
chmod 755 "$work"  # for the user without root below

for save in new:0666 replacing:0600; do
  strace -f -qq -e trace=openat,fdatasync,fsync,linkat,rename,renameat,renameat2 -o "$work/trace" \
    "$convert" --templates "$templates" "$work/picture.png" > /dev/null
  # The calls in order, by name: the first flush must come before the first link or rename, and
  # another after the last rename.
  order=$(sed -nE 's/^[0-9]+ +(fdatasync|fsync|linkat|rename[a-z0-9]*)\(.*/\1/p' "$work/trace" |
    tr '\n' ' ')
  [[ $order =~ ^fdatasync\ (linkat\ )?rename(at2?)?\ fsync\ $ ]] || {
    echo "FAIL (${save%:*}): flushes and renames in this order: $order" >&2
    exit 1
  }
  grep -q "O_TMPFILE, ${save#*:})" "$work/trace" || {
    echo "FAIL (${save%:*}): not staged with mode ${save#*:}: $(grep O_TMPFILE "$work/trace")" >&2
    exit 1
  }
done

# In place: the new content copied over the file, cut to length, then flushed.
mkdir "$work/locked"
cp "$work/picture.png" "$work/picture.dxf" "$work/locked/"
chmod 0666 "$work/locked/picture.dxf"
chmod 555 "$work/locked"
trap 'chmod 755 "$work/locked"; rm -rf "$work"' EXIT
unprivileged=()
[[ $(id -u) != 0 ]] || unprivileged=(setpriv --reuid=65534 --regid=65534 --clear-groups)
strace -f -qq -e trace=pwrite64,ftruncate,fdatasync,fsync,linkat,rename,renameat,renameat2 \
  -o "$work/trace" "${unprivileged[@]}" "$convert" --templates "$templates" \
  "$work/locked/picture.png" > /dev/null
order=$(sed -nE 's/^[0-9]+ +([a-z0-9]+)\(.*/\1/p' "$work/trace" | uniq | tr '\n' ' ')
[[ $order == "pwrite64 ftruncate fdatasync " ]] || {
  echo "FAIL (in place): writes and flushes in this order: $order" >&2
  exit 1
}
echo "data flushed before the drawing is named, the folder after, or before an in-place save ends"
