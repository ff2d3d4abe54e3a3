#!/usr/bin/env bash
# Checks the include graph, builds everything and runs every test: native,
# native with ASan/UBSan and with TSan, the 32-bit Windows build under Wine,
# the x86_64 Windows build with its scene suites under 64-bit Wine,
# end-to-end runs of both programs (also with no display), the install trees
# with programs built on them, and each fuzz target for a short while.
# Leaves the Windows install tree as a zip in build/mingw-i686. Run as root
# on Debian.
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
# Every step has a time limit, so that nothing can hang the run: a step that
# outlives its limit is stopped and counted as failed, and the run goes on.
step() {
  local title=$1 limit=$2; shift 2
  echo "=== $title"
  ov_ensure_wm || true # the window tests need one: minimising and closing go through it
  timeout -k 10 "$limit" "$@"
  local code=$?
  if [[ $code -eq 0 ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    [[ $code -eq 124 || $code -eq 137 ]] && echo "=== $title: stopped after its limit of $limit s"
    echo "=== FAILED: $title"
  fi
}

build() { cmake --preset "$1" -DOV_WARNINGS_AS_ERRORS=ON >/dev/null && cmake --build --preset "$1"; }
export -f build

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Include arrows run one way: no cycle, none back up the floors of
# scripts/include_floors.txt, one include root per prefix.
step "include graph" 60 python3 scripts/include_graph.py --all
step "native build" 1200 bash -c 'build native'
step "native tests" 900 ctest --preset native
step "native-asan build" 1200 bash -c 'build native-asan'
step "native-asan tests" 900 ctest --preset native-asan
# Every suite: each opens windows or GL contexts, and with them the display
# watcher's thread and the driver's, or starts threads of its own.
step "native-tsan build" 1200 bash -c 'build native-tsan'
step "native-tsan tests" 900 ctest --preset native-tsan
step "mingw-i686 build" 1200 bash -c 'build mingw-i686'
ov_wine_env "$root/build"
step "mingw-i686 tests under Wine" 900 ctest --preset mingw-i686
step "palette model against real GDI, 24-bit display" 600 scripts/palette_differential.sh 24
step "palette model against real GDI, 8-bit display" 600 scripts/palette_differential.sh 8
step "mingw-x86_64 build" 1200 bash -c 'build mingw-x86_64'
# The scene's bit-for-bit suites on the third build; the others run on two.
ov_wine64_env "$root/build"
step "mingw-x86_64 scene tests under 64-bit Wine" 900 ctest --preset mingw-x86_64 -R '^scene_'
timeout 60 wineserver -k 2>/dev/null || true
ov_wine_env "$root/build"
step "e2e native" 120 scripts/e2e.sh native build/e2e-native.png build/native/app/open-voskar
step "e2e Windows under Wine" 180 scripts/e2e.sh wine build/e2e-wine.png wine build/mingw-i686/app/open-voskar.exe
step "toolkit input native" 120 scripts/input_e2e.sh native build/native/tests/e2e/tk-recorder
step "toolkit input Windows under Wine" 180 scripts/input_e2e.sh wine wine build/mingw-i686/tests/e2e/tk-recorder.exe
step "no display: failures said on standard error, native" 120 scripts/failures_e2e.sh build/native
step "samples native" 180 scripts/samples_e2e.sh native build/native/examples build/samples-native
step "samples Windows under Wine" 240 scripts/samples_e2e.sh wine build/mingw-i686/examples build/samples-wine wine
step "install tree and the samples built on it, native" 900 \
  tests/install/check_install.sh native build/native build/install-native
step "install tree, its zip and the samples built on it, Windows under Wine" 900 \
  tests/install/check_install.sh mingw-i686 build/mingw-i686 build/install-mingw-i686
if [[ -x scripts/fuzz.sh ]]; then
  step "fuzz targets, 60 s each" 900 scripts/fuzz.sh 60
fi
timeout 60 wineserver -k 2>/dev/null || true

echo "steps: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
