#!/usr/bin/env bash
# Builds the decoding, preview and colour-mapping tests with ThreadSanitizer (clang) into
# build/tsan and runs them: the preview decodes on a thread of its own while the dialog lives,
# both programs wait for their decoding helper from threads, and a large raster's colours are
# mapped by several threads at once. Qt itself is not built with ThreadSanitizer, so what it
# synchronises inside (its event queue) is taken on trust through tests/tsan.supp.
# Usage: scripts/tsan.sh   (as root: installs what is missing first)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DPIXDRAFT_BENCH=OFF > /dev/null
cmake --build build/tsan --target picture_file_test decoder_process_test picture_session_test \
  open_picture_dialog_test main_window_test colour_reduction_test pixdraft-decode
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" \
  ctest --test-dir build/tsan -j2 --output-on-failure \
  -R '^(Picture|Helper|Decoding|Session|OpenPictureDialogTest|MainWindowTest|NearestColour)'
