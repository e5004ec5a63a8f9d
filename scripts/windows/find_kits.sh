#!/usr/bin/env bash
# Prints the folder that holds the Windows kits (qt-6.4.2-mingw-w64.tar.xz and its libjpeg-turbo
# beside it), or fails: $PIXDRAFT_WINDOWS_KITS, else ../shared/windows from the project's root,
# or from the main checkout's root when this is a second worktree of it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
candidates=("${PIXDRAFT_WINDOWS_KITS:-}" "$root/../shared/windows")
if common=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2>/dev/null); then
  candidates+=("$(dirname "$common")/../shared/windows")
fi
for folder in "${candidates[@]}"; do
  if [[ -n $folder && -f $folder/qt-6.4.2-mingw-w64.tar.xz &&
        -f $folder/libjpeg-turbo-2.1.5-mingw-w64.tar.xz ]]; then
    (cd "$folder" && pwd)
    exit 0
  fi
done
exit 1
