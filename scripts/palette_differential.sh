#!/usr/bin/env bash
# palette_differential.sh DEPTH: runs the palette script and the palette
# suite of both builds on a DEPTH-bit display (8: an Xvfb of its own, 24: the
# current $DISPLAY) and compares the script's two outputs: the 32-bit Windows
# build under Wine is real GDI, the native build the portable model. Needs
# both builds and the Wine prefix (scripts/test.sh makes them).
set -euo pipefail
cd "$(dirname "$0")/.."
depth=$1
out=build/differential
native=build/native/tests
windows=build/mingw-i686/tests
mkdir -p "$out"

if [[ $depth == 8 ]]; then
  source scripts/display.sh
  trap 'timeout 60 wineserver -w 2>/dev/null || true; kill ${OV_XVFB8_PID:-} 2>/dev/null || true' EXIT
  ov_start_8bit_display
fi

# Wine's X11 driver shares the X default colour map with every other client,
# its own desktop process among them, unless told otherwise; with a map of
# its own its system palette starts as documented: the statics at both ends,
# the rest free. The driver reads this when a process starts.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v PrivateColorMap /d Y /f >/dev/null 2>&1
timeout 60 wineserver -w

status=0
timeout 120 wine "$windows/differential/palette_script.exe" >"$out/real-$depth.txt" 2>/dev/null || status=1
timeout 120 "$native/differential/palette_script" >"$out/model-$depth.txt" || status=1
tests/differential/compare_outputs.sh "$depth" "$out/real-$depth.txt" "$out/model-$depth.txt" || status=1
timeout 300 wine "$windows/platform/palette_tests.exe" --gtest_brief=1 2>/dev/null || status=1
timeout 300 "$native/platform/palette_tests" --gtest_brief=1 || status=1
exit $status
