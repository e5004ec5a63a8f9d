#!/usr/bin/env bash
# Checks what the programs and DLLs of a Windows folder import, with objdump: every DLL they name
# is in the folder or is part of Windows, and every DLL in the folder is named by one of them
# (plugins, in the folders below, are loaded by Qt and need no importer).
# Usage: check_imports.sh FOLDER
set -euo pipefail
folder=$1
# Windows' own, which every Windows 10 and later has.
system='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|netapi32|userenv|mpr|shlwapi|setupapi|wtsapi32|authz|msvcrt|ntdll|comctl32|d3d9|d3d11|d3d12|dxgi|d2d1|dwrite|dcomp|crypt32|bcrypt|shcore|api-ms-win-.*)\.dll$'
status=0
declare -A imported=()
while IFS= read -r -d '' binary; do
  while read -r dll; do
    lower=${dll,,}
    imported[$lower]=1
    if [[ ! $lower =~ $system && ! -e $folder/$dll ]] &&
       ! ls "$folder" | grep -qix -- "$dll"; then
      echo "missing: ${binary#"$folder"/} imports $dll" >&2
      status=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\tDLL Name: //p')
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
for dll in "$folder"/*.dll; do
  name=$(basename "$dll")
  if [[ -z ${imported[${name,,}]:-} ]]; then
    echo "extra: nothing imports $name" >&2
    status=1
  fi
done
exit $status
