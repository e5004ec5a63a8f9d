#!/usr/bin/env bash
# The layers as the README's guide states them, checked on every source file under src/: a layer
# includes only its own headers and those of the layers below it, by layer path; the operating
# system's headers only in src/platform; Qt nowhere below src/picture, and its widgets nowhere
# below src/ui.
# Usage: check_layers.sh SRC_DIR QT_WIDGETS_INCLUDE_DIR
set -euo pipefail
src=$1 widgets=$2
layers=(platform base dxf picture conversion ui app)
posix='(unistd|fcntl|spawn|poll|signal|dirent|pthread|dlfcn|termios|pwd|grp|sched|syslog|libgen|fnmatch|glob|strings|utime|sys/[a-z_/]+|linux/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+)\.h'
widget_headers=$(ls "$widgets" | grep -v '\.h$' | paste -sd'|')
failures=0
fail() { echo "$1: $2" >&2; failures=$((failures + 1)); }

for rank in "${!layers[@]}"; do
  layer=${layers[$rank]}
  allowed=$(IFS='|'; echo "${layers[*]:0:$((rank + 1))}")
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
        header=${BASH_REMATCH[1]}
        [[ $header == *.moc ]] && continue
        [[ $header =~ ^($allowed)/ ]] || fail "$file" "includes $header, not of its layer or one below"
      elif [[ $line =~ ^#include\ \<([^\>]+)\> ]]; then
        header=${BASH_REMATCH[1]}
        if [[ $layer != platform && $header =~ ^$posix$ ]]; then
          fail "$file" "includes the system's $header outside src/platform"
        fi
        if ((rank < 3)) && [[ $header =~ ^Q ]]; then fail "$file" "includes Qt's $header"; fi
        if ((rank < 5)) && [[ $header =~ ^($widget_headers)$ ]]; then
          fail "$file" "includes the widget header $header"
        fi
      fi
    done < <(grep -E '^#include' "$file")
  done < <(find "$src/$layer" -name '*.h' -print0 -o -name '*.cpp' -print0)
done
((failures == 0)) || exit 1
echo "every include keeps to its layer"
