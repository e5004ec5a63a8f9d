#!/usr/bin/env bash
# The real window, started with a picture whose decode never ends (its decoding helper stands in
# for one that never answers), is told to exit, or its window closed, half a second in. It must
# end at once, its decode stopped, not at the decode's 25-second deadline.
# Usage: ends_while_decoding.sh PIXDRAFT   (the window closer plugin set in the environment)
set -euo pipefail
pixdraft=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '#!/bin/sh\nexec sleep 600\n' > never.sh
chmod +x never.sh
printf 'any picture' > picture.png

start=$(date +%s%N)
status=0
PIXDRAFT_DECODER=$work/never.sh timeout 60 "$pixdraft" picture.png || status=$?
seconds=$(( ($(date +%s%N) - start) / 1000000000 ))
[[ $status == 0 ]] || { echo "FAIL: exit status $status" >&2; exit 1; }
(( seconds < 10 )) || { echo "FAIL: ended after $seconds s, not at once" >&2; exit 1; }
echo "ended after $seconds s"
