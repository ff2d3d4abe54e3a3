#!/usr/bin/env bash
# Builds everything and runs every test: native, native with ASan/UBSan and
# with TSan, the 32-bit Windows build under Wine, the x86_64 Windows build
# with its scene suites under 64-bit Wine, end-to-end runs of
# both programs, the install trees with programs built on them, and each fuzz
# target for a short while. Leaves the Windows install tree as a zip in
# build/mingw-i686. Run as root on Debian.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
source scripts/display.sh
source scripts/wine-env.sh
mkdir -p build
export OV_WM_LOG=$root/build/openbox.log
ov_start_display

passed=0 failed=0
step() {
  local title=$1; shift
  echo "=== $title"
  ov_ensure_wm || true # the window tests need one: minimising and closing go through it
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "=== FAILED: $title"; fi
}

build() { cmake --preset "$1" -DOV_WARNINGS_AS_ERRORS=ON >/dev/null && cmake --build --preset "$1"; }

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

step "native build" build native
step "native tests" ctest --preset native
step "native-asan build" build native-asan
step "native-asan tests" ctest --preset native-asan
# Every suite: each opens windows or GL contexts, and with them the display
# watcher's thread and the driver's, or starts threads of its own.
step "native-tsan build" build native-tsan
step "native-tsan tests" ctest --preset native-tsan
step "mingw-i686 build" build mingw-i686
ov_wine_env "$root/build"
step "mingw-i686 tests under Wine" ctest --preset mingw-i686
step "palette model against real GDI, 24-bit display" scripts/palette_differential.sh 24
step "palette model against real GDI, 8-bit display" scripts/palette_differential.sh 8
step "mingw-x86_64 build" build mingw-x86_64
# The scene's bit-for-bit suites on the third build; the others run on two.
ov_wine64_env "$root/build"
step "mingw-x86_64 scene tests under 64-bit Wine" ctest --preset mingw-x86_64 -R '^scene_'
wineserver -k 2>/dev/null || true
ov_wine_env "$root/build"
step "e2e native" scripts/e2e.sh native build/e2e-native.png build/native/app/open-voskar
step "e2e Windows under Wine" scripts/e2e.sh wine build/e2e-wine.png wine build/mingw-i686/app/open-voskar.exe
step "toolkit input native" scripts/input_e2e.sh native build/native/tests/e2e/tk-recorder
step "toolkit input Windows under Wine" scripts/input_e2e.sh wine wine build/mingw-i686/tests/e2e/tk-recorder.exe
step "samples native" scripts/samples_e2e.sh native build/native/examples build/samples-native
step "samples Windows under Wine" scripts/samples_e2e.sh wine build/mingw-i686/examples build/samples-wine wine
step "install tree and the samples built on it, native" \
  tests/install/check_install.sh native build/native build/install-native
step "install tree, its zip and the samples built on it, Windows under Wine" \
  tests/install/check_install.sh mingw-i686 build/mingw-i686 build/install-mingw-i686
if [[ -x scripts/fuzz.sh ]]; then
  step "fuzz targets, 60 s each" scripts/fuzz.sh 60
fi
wineserver -k 2>/dev/null || true

echo "steps: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
