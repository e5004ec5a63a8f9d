#!/usr/bin/env bash
# A profile's whole drawing of the small logo, byte for byte: `--for PROFILE` against the drawing
# the options of docs/profiles.md make (tests/data/profiles/PROFILE.dxf, the plain one made
# without options), and its counts where it writes them.
# Usage: check_profile_bytes.sh CONVERTER TEMPLATES DATA PROFILE [OPTION]...
set -euo pipefail
converter=$1 templates=$2 data=$3 profile=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$converter" -q --templates "$templates" --for "$profile" "$@" -o out.dxf "$data/logo.png"
cmp out.dxf "$data/$profile.dxf"
if [[ -e $data/$profile.counts.csv ]]; then cmp counts.csv "$data/$profile.counts.csv"; fi
echo "--for $profile draws $data/$profile.dxf"
