#!/usr/bin/env bash
# Builds PixDraft for Windows with its unit tests (scripts/windows/build.sh, GoogleTest built from
# Debian's sources with the same compiler) and checks it under wine:
#  - the unit tests, each program under wine64; a test of what wine does not provide skips, saying
#    why;
#  - the converter turns the sample and pictures in every format the build reads into the same
#    bytes as the Linux converter (build/release, built first when missing);
#  - the window, on an X server of its own, loads the picture named on its command line, saves
#    it (a test plugin clicks "Save to DXF") into the converter's bytes, and is photographed;
#  - a picture and its drawing in a folder whose name is not ASCII;
#  - the installer, silent: the installed converter works from another folder, and the silent
#    uninstaller leaves nothing behind.
# Prints how many unit tests passed and were skipped (and why); exits non-zero on any failure.
# With --window-picture FILE, only builds and photographs the window with the sample (FILE, a
# PNG), for the README.
set -euo pipefail
source "$(dirname "$0")/kit.sh"
cd "$root"
started=$SECONDS
picture_only=
if [[ ${1:-} == --window-picture ]]; then
  picture_only=$(realpath -m "$2")
fi

# GoogleTest for Windows, built once for this compiler and these sources, in the cache.
scripts/install-deps.sh "${windows_packages[@]}"
gtest_key=$( (x86_64-w64-mingw32-g++-posix --version | head -1
              dpkg-query -W -f='${Version}' googletest) | sha256sum | cut -c1-12)
gtest=$cache/googletest-$gtest_key
flock "$cache_lock"
if [[ ! -f $gtest/lib/libgtest_main.a ]]; then
  rm -rf "$cache/googletest-build"
  cmake -S /usr/src/googletest -B "$cache/googletest-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt_kit/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$gtest" \
    -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$cache/googletest-build" -j2 >/dev/null
  cmake --install "$cache/googletest-build" >/dev/null
  rm -rf "$cache/googletest-build"
fi
flock -u "$cache_lock"

# Test discovery runs under wine here, not at build time.
scripts/windows/build.sh -DBUILD_TESTING=ON -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
build=$windows/cmake
mapfile -t tests < <(cd "$build" && ninja -t targets all | sed -n 's/^\([a-z_]*_test\)\.exe: .*/\1/p')
if [[ -n $picture_only ]]; then
  cmake --build "$build" -j2 --target window_closer_plugin
else
  cmake --build "$build" -j2 --target "${tests[@]}" window_closer_plugin
  # The Linux converter to compare with, as these sources build it.
  if [[ -f build/release/build.ninja ]]; then
    cmake --build build/release -j2 --target pixdraft-convert pixdraft-decode
  else
    scripts/build.sh
  fi
fi

# Wine, in a prefix of its own, on an X server of its own from the start (its first process
# decides the display for all); no prompts for .NET or a browser engine. Wine keeps the
# variables named QT_... from Windows programs, for the Unix Qt: those for the programs under
# test are named WINEQT_... here, which wine passes on as QT_...
export WINEPREFIX=$windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=$((90 + RANDOM % 100))
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=:$display
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p 60 # kept up between the many short runs below
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  wineboot -i >/dev/null 2>&1
  # A program that crashes (a broken decoding helper, in the tests) ends as on Windows, instead
  # of waiting in wine's debugger.
  wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
    >/dev/null 2>&1 || true
fi
# A name as Windows programs see it: wine's drive Z: is the root (winepath says the same, at the
# cost of a process each time, which now and then fails to start under load).
win() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}
work=$windows/test-work
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
window() {  # window HOW PICTURE: the real window under wine, driven by the test plugin
  WINEQT_PLUGIN_PATH="$(win "$build/tests/app/plugins")" \
    WINEQT_QPA_GENERIC_PLUGINS="pixdraft-window-closer:$1" \
    timeout 120 wine "$windows/PixDraft/pixdraft.exe" "$(win "$2")"
}

if [[ -n $picture_only ]]; then
  mkdir -p "$work/window"
  cp samples/balloon.png "$work/window/"
  (cd "$work/window" && window "grab:$(win "$picture_only")" balloon.png)
  echo "Made $picture_only"
  exit 0
fi

# --- Unit tests ------------------------------------------------------------------------------
# Run from the build tree, with Qt's DLLs and plugins from the kit (its qt.conf), Qt's
# translations from Debian's package, and the runtime from the laid-out folder, as ctest runs
# them on Linux.
echo "Unit tests under wine:"
mkdir -p "$work/unit"
# (Qt reads a backslash in it as an escape.)
printf '[Paths]\nPrefix = %s\nTranslations = %s\n' "$(win "$qt_kit")" \
  "$(win /usr/share/qt6/translations)" | tr '\\' / > "$build/qt.conf"
unit_test() {
  cd "$work/unit" &&
    WINEPATH="$(win "$qt_kit/bin");$(win "$windows/PixDraft")" WINEQT_QPA_PLATFORM=offscreen \
    PIXDRAFT_DECODER="$(win "$build/pixdraft-decode.exe")" \
    timeout 600 wine "$build/$1.exe" --gtest_output="xml:$(win "$work/unit/$1.xml")" \
      >"$work/unit/$1.log" 2>&1
}
# Two at a time, as ctest runs them: each works in folders of its own.
declare -A running_tests=()
reap() {  # waits for one of the running tests to end
  local ended status=0
  wait -n -p ended "${!running_tests[@]}" || status=$?
  ((status == 0)) || fail "${running_tests[$ended]} (see $work/unit/${running_tests[$ended]}.log)"
  unset "running_tests[$ended]"
}
for test in "${tests[@]}"; do
  ((${#running_tests[@]} < 2)) || reap
  unit_test "$test" &
  running_tests[$!]=$test
done
while ((${#running_tests[@]})); do reap; done
/usr/bin/python3 tests/windows/gtest_summary.py "$work"/unit/*.xml || fail "unit tests"

# --- The converter: the same bytes as on Linux -------------------------------------------------
linux=$root/build/release/src/app/pixdraft-convert
mkdir -p "$work/linux" "$work/windows"
/usr/bin/python3 tests/windows/make_pictures.py "$work/linux"
cp samples/balloon.png samples/rocket.png "$work/linux/"
cp "$work"/linux/* "$work/windows/"
converted=0
for options in "" "--merge --skip-transparent" "--size 64 --keep-aspect --entity hatch --merge=regions --layers --colour-index" "--colours 8 --dither --units mm --pixel-size 0.5"; do
  rm -f "$work"/linux/*.dxf "$work"/windows/*.dxf
  # shellcheck disable=SC2086
  (cd "$work/linux" && "$linux" -q $options ./*.*) || fail "the Linux converter ($options)"
  # shellcheck disable=SC2086
  (cd "$work/windows" && wine "$windows/PixDraft/pixdraft-convert.exe" -q $options ./*.*) ||
    fail "the Windows converter ($options)"
  for drawing in "$work"/linux/*.dxf; do
    cmp -s "$drawing" "$work/windows/${drawing##*/}" ||
      fail "${drawing##*/} differs between Linux and Windows ($options)"
    converted=$((converted + 1))
  done
done
echo "Converter: $converted drawings, byte for byte as on Linux"
# The sample's drawing with no option, which the window and the installed converter must make
# (the loop above leaves those of its last options).
(cd "$work/linux" && "$linux" -q -o "$work/balloon-plain.dxf" balloon.png)

# --- A folder whose name is not ASCII ----------------------------------------------------------
foreign="$work/Dessins é ü 日本"
mkdir -p "$foreign"
cp samples/rocket.png "$foreign/fusée n°1.png"
(cd "$work" && wine "$windows/PixDraft/pixdraft-convert.exe" -q "$(win "$foreign/fusée n°1.png")") ||
  fail "the converter in a folder whose name is not ASCII"
(cd "$foreign" && wine "$windows/PixDraft/pixdraft-convert.exe" -q -o "plan n°1.dxf" "fusée n°1.png") ||
  fail "the converter with names that are not ASCII, relative"
cp samples/rocket.png "$work/linux/rocket-copy.png"
(cd "$work/linux" && "$linux" -q rocket-copy.png)
for drawing in "fusée n°1.dxf" "plan n°1.dxf"; do
  cmp -s "$foreign/$drawing" "$work/linux/rocket-copy.dxf" || fail "$drawing in $foreign"
done

# --- The window --------------------------------------------------------------------------------
# It starts with nothing chosen: no drawing options remembered from an earlier run.
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/PixDraft
mkdir -p "$work/window"
cp samples/balloon.png "$work/window/"
(cd "$work" && window save "$work/window/balloon.png") || fail "the window's save"
cmp -s "$work/window/balloon.dxf" "$work/balloon-plain.dxf" ||
  fail "the window's drawing differs from the converter's"
(cd "$foreign" && window save "$foreign/fusée n°1.png" && cmp -s "fusée n°1.dxf" "$work/linux/rocket-copy.dxf") ||
  fail "the window's save in a folder whose name is not ASCII"
(cd "$work" && window "grab:$(win "$work/windows-screenshot.png")" "$work/window/balloon.png") ||
  fail "the window's picture"
echo "Window: saved as the converter does; its picture is $work/windows-screenshot.png"

# --- The installer -----------------------------------------------------------------------------
programs=$WINEPREFIX/drive_c/Program\ Files/PixDraft
menu_entry=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/PixDraft.lnk
# Each step bounded: wine leaves console hosts behind, so waiting for the wine server to end
# (wineserver -w) may wait forever.
rm -rf "$programs" "$menu_entry"  # what an earlier run may have left
timeout 300 wine "$windows/PixDraft-$version-setup.exe" /S || fail "the installer (status $?)"
[[ -f $programs/pixdraft-convert.exe && -f $menu_entry ]] || fail "the installer's files"
mkdir -p "$work/installed"
cp samples/balloon.png "$work/installed/"
(cd "$work/installed" && wine 'C:\Program Files\PixDraft\pixdraft-convert.exe' -q balloon.png &&
  cmp -s balloon.dxf "$work/balloon-plain.dxf") || fail "the installed converter"
# The uninstaller runs a copy of itself from the temporary folder and returns at once: its work
# is done when the files are gone, or never (two minutes).
timeout 120 wine 'C:\Program Files\PixDraft\uninstall.exe' /S || fail "the uninstaller (status $?)"
for _ in $(seq 600); do
  [[ -e $programs || -e $menu_entry ]] || break
  sleep 0.2
done
if [[ -e $programs || -e $menu_entry ]]; then
  fail "the uninstaller left: $(find "$programs" "$menu_entry" 2>/dev/null | tr '\n' ' ')"
fi
echo "Installer: installed, converted from another folder, uninstalled without a trace"

echo "Windows part: $((SECONDS - started)) s"
if ((failures)); then
  echo "$failures Windows check(s) failed" >&2
  exit 1
fi
