#!/usr/bin/env bash
# The window's command line, answered without a display and, for its errors, as with one: each
# row's exit status and whole output (standard output and error together; a "*" at the end
# stands for the rest of the help).
# Usage: window_command_line.sh PIXDRAFT VERSION
set -uo pipefail
pixdraft=$1 version=$2
failed=0
try=$'\n'"Try 'pixdraft --help' for more information."
no_display="pixdraft: no display could be opened (pixdraft-convert converts without one)"

# A window that opens after all is ended rather than waited for.
row() {  # DISPLAY STATUS OUTPUT ARGUMENT...
  local display=$1 status=$2 expected=$3 output actual
  shift 3
  if [[ $display == none ]]; then
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$pixdraft" "$@" 2>&1)
  else
    output=$(QT_QPA_PLATFORM=offscreen timeout 60 "$pixdraft" "$@" 2>&1)
  fi
  actual=$?
  if [[ $actual != "$status" ]] ||
     { [[ $expected == *'*' ]] && [[ $output != "${expected%'*'}"* ]]; } ||
     { [[ $expected != *'*' ]] && [[ $output != "$expected" ]]; }; then
    echo "FAIL ($display) pixdraft $*: status $actual, output:"$'\n'"$output" >&2
    failed=1
  fi
}

row none 0 "Usage: pixdraft [OPTION]... [PICTURE]"$'\n'"*" --help
row none 0 "pixdraft $version" --version
row none 0 "pixdraft $version" -v
row none 0 "pixdraft $version" -V
row none 1 "pixdraft: unknown option --bogus$try" --bogus
row offscreen 1 "pixdraft: unknown option --bogus$try" --bogus
row none 1 "pixdraft: the window opens one picture, not 2$try" -platform offscreen a.png b.png
row offscreen 1 "pixdraft: the window opens one picture, not 2$try" a.png b.png
row none 1 "$no_display" picture.png
row none 1 "$no_display"
exit $failed
