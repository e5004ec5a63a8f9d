#!/usr/bin/env bash
# Checks the manual pages as man and groff read them: no warning from either, and every option
# and exit status each program's own help names is in its page.
# Usage: check_manual_pages.sh PAGE_DIR PIXDRAFT PIXDRAFT_CONVERT
set -euo pipefail
pages=$1 pixdraft=$2 convert=$3
failed=0
fail() { echo "$*" >&2; failed=1; }

# The text of the section named $2 of the rendered page $1.
section() {
  awk -v name="$2" '/^[A-Z]/ { inside = ($0 == name) ; next } inside' "$1"
}

check() {
  local page=$pages/$1 help=$2
  local warnings rendered
  warnings=$(groff -man -ww -z "$page" 2>&1)
  [[ -z $warnings ]] || fail "$1: groff warns: $warnings"
  rendered=$(mktemp)
  if ! warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_FORMATTING= man --warnings -l "$page" \
                   2>&1 >"$rendered"); then
    fail "$1: man -l failed: $warnings"
  fi
  [[ -z $warnings ]] || fail "$1: man warns: $warnings"
  # Every name of every option the help lists, the tag of its lines up to two blanks
  # ("  -h, --help  ...", "      --colours, --colors N"), in the tag of an entry under OPTIONS
  # ("       -h, --help").
  local option
  for option in $(sed -nE 's/^ {2,6}(-[^ ]+( [^ ]+)*).*/\1/p' <<<"$help" |
                    grep -oE -- '(^| )--?[a-zA-Z][a-zA-Z-]*' | tr -d ' '); do
    # From a string, not a pipe: grep -q stops reading early, and pipefail counts the SIGPIPE.
    grep -qE -- "^ {7}(-[^ ]*, )*$option(,| |$)" <<<"$(section "$rendered" OPTIONS)" ||
      fail "$1: option $option has no entry under OPTIONS"
  done
  # Exit statuses as "Exit status: 0 when ..., 1 when ..." names them.
  local status
  for status in $(grep -oE '\b[0-9] (when|for)\b' <<<"$help" | cut -c1); do
    grep -qE "^ +$status( |$)" <<<"$(section "$rendered" "EXIT STATUS")" ||
      fail "$1: exit status $status is not under EXIT STATUS"
  done
  grep -q . <<<"$(section "$rendered" EXAMPLES)" || fail "$1: no example"
  rm -f "$rendered"
}

check pixdraft.1 "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$pixdraft" --help)"
check pixdraft-convert.1 "$("$convert" --help)"
exit $failed
