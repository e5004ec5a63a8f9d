#!/usr/bin/env bash
# The layers as the README's guide states them, checked on every source file under src/: a layer
# includes only its own headers and those of the layers below it, by layer path; the operating
# system's headers only in src/platform; Qt nowhere below src/decoder, and its widgets nowhere
# below src/ui. The converter's own files in src/app (pixdraft_app_core's sources and
# convert_main.cpp, with their headers) include no Qt, and nothing of src/decoder or src/ui:
# pixdraft-convert loads no Qt, only its decoding helper does.
# Usage: check_layers.sh SRC_DIR QT_WIDGETS_INCLUDE_DIR
set -euo pipefail
src=$1 widgets=$2
layers=(platform base dxf picture conversion decoder ui app)
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

for rank in "${!layers[@]}"; do
  layer=${layers[$rank]}
  allowed=$(IFS='|'; echo "${layers[*]:0:$((rank + 1))}")
  while IFS= read -r -d '' file; do
    converter=false
    [[ $converter_files == *" $file "* ]] && converter=true
    while IFS= read -r line; do
      if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
        header=${BASH_REMATCH[1]}
        [[ $header == *.moc ]] && continue
        [[ $header =~ ^($allowed)/ ]] || fail "$file" "includes $header, not of its layer or one below"
        if $converter && [[ $header =~ ^(decoder|ui)/ ]]; then
          fail "$file" "includes $header into the converter, which loads no Qt"
        fi
      elif [[ $line =~ ^#include\ \<([^\>]+)\> ]]; then
        header=${BASH_REMATCH[1]}
        if [[ $layer != platform && $header =~ ^$posix$ ]]; then
          fail "$file" "includes the system's $header outside src/platform"
        fi
        if ((rank < 5)) || $converter && [[ $header =~ ^Q ]]; then
          fail "$file" "includes Qt's $header"
        fi
        if ((rank < 6)) && [[ $header =~ ^($widget_headers)$ ]]; then
          fail "$file" "includes the widget header $header"
        fi
      fi
    done < <(grep -E '^#include' "$file")
  done < <(find "$src/$layer" -name '*.h' -print0 -o -name '*.cpp' -print0)
done
((failures == 0)) || exit 1
echo "every include keeps to its layer"
