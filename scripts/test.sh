#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build, and a clang
# build with AddressSanitizer and UndefinedBehaviorSanitizer that also runs the fuzzers for a
# bounded time; in between, the Windows build under wine where its kits are at hand.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build/release --output-on-failure -j2

# The Windows build, checked under wine, where the Windows kits are at hand (../shared/windows).
if scripts/windows/find_kits.sh >/dev/null; then
  scripts/windows/test.sh
else
  echo "No Windows kits in ../shared/windows: the Windows build is left out"
fi

CC=clang CXX=clang++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DPIXDRAFT_SANITIZE=ON -DPIXDRAFT_FUZZ=ON -DPIXDRAFT_BENCH=OFF
cmake --build build/sanitize
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp ctest --test-dir build/sanitize --output-on-failure -j2
