#!/usr/bin/env bash
# The rooms as the README's guide states them, checked on every source file under src/: a room
# includes only its own headers and those of the rooms it may use, by room path; the operating
# system's headers only in src/platform; Qt only in decoder, ui and app, and its widgets only in
# ui and app. Picture decoding and DXF writing are siblings: neither includes the other. The
# converter's own files in src/app (pixdraft_app_core's sources and convert_main.cpp, with their
# headers) include no Qt, and nothing of src/decoder or src/ui: pixdraft-convert loads no Qt,
# only its decoding helper does. Tests use the platform layer and the standard library: the
# system's headers only in tests/system_calls.cpp and in the library that replaces the system's
# open (tests/app/no_unnamed_files.cpp).
# Usage: check_layers.sh SRC_DIR QT_WIDGETS_INCLUDE_DIR TESTS_DIR
set -euo pipefail
src=$1 widgets=$2 tests=$3
declare -A uses=(
  [platform]="platform"
  [base]="platform base"
  [colour]="platform base colour"
  [shapes]="platform base colour shapes"
  [dxf]="platform base colour shapes dxf"
  [picture]="platform base colour picture"
  [decoder]="platform base colour picture decoder"
  [conversion]="platform base colour shapes dxf picture conversion"
  [ui]="platform base colour shapes dxf picture conversion decoder ui"
  [app]="platform base colour shapes dxf picture conversion decoder ui app"
)
qt_rooms='decoder|ui|app' widget_rooms='ui|app'
converter_sources=$(sed -n '/^add_library(pixdraft_app_core/,/)/p' "$src/app/CMakeLists.txt" |
                    grep -o '[a-z_]*\.cpp' || true)
converter_files=" "
for source in $converter_sources convert_main.cpp; do
  converter_files+="$src/app/$source $src/app/${source%.cpp}.h "
done
posix='(unistd|fcntl|spawn|poll|signal|dirent|pthread|dlfcn|termios|pwd|grp|sched|syslog|libgen|fnmatch|glob|strings|utime|sys/[a-z_/]+|linux/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+)\.h'
widget_headers=$(ls "$widgets" | grep -v '\.h$' | paste -sd'|')
failures=0
fail() { echo "$1: $2" >&2; failures=$((failures + 1)); }

for room in "${!uses[@]}"; do
  allowed=${uses[$room]// /|}
  while IFS= read -r -d '' file; do
    own=$allowed
    qt=false
    [[ $room =~ ^($qt_rooms)$ && $converter_files != *" $file "* ]] && qt=true
    while IFS= read -r line; do
      if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
        header=${BASH_REMATCH[1]}
        [[ $header == *.moc ]] && continue
        [[ $header =~ ^($own)/ ]] || fail "$file" "includes $header, not of a room $room may use"
        if [[ $converter_files == *" $file "* && $header =~ ^(decoder|ui)/ ]]; then
          fail "$file" "includes $header into the converter, which loads no Qt"
        fi
      elif [[ $line =~ ^#include\ \<([^\>]+)\> ]]; then
        header=${BASH_REMATCH[1]}
        if [[ $room != platform && $header =~ ^$posix$ ]]; then
          fail "$file" "includes the system's $header outside src/platform"
        fi
        if ! $qt && [[ $header =~ ^Q ]]; then fail "$file" "includes Qt's $header"; fi
        if [[ ! $room =~ ^($widget_rooms)$ && $header =~ ^($widget_headers)$ ]]; then
          fail "$file" "includes the widget header $header"
        fi
      fi
    done < <(grep -E '^#include' "$file")
  done < <(find "$src/$room" -name '*.h' -print0 -o -name '*.cpp' -print0)
done
while IFS= read -r -d '' file; do
  [[ $file == "$tests/system_calls.cpp" || $file == "$tests/app/no_unnamed_files.cpp" ]] && continue
  while IFS= read -r header; do
    [[ $header =~ ^$posix$ ]] && fail "$file" "includes the system's $header outside system_calls.cpp"
  done < <(sed -n 's/^#include <\([^>]*\)>.*/\1/p' "$file")
done < <(find "$tests" -name '*.h' -print0 -o -name '*.cpp' -print0)
# Every folder under src/ is a room of this table.
for dir in "$src"/*/; do
  room=$(basename "$dir")
  [[ -v uses[$room] ]] || fail "$dir" "is no room of the table"
done
((failures == 0)) || exit 1
echo "every include keeps to its room"
