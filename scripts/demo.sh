#!/usr/bin/env bash
# Builds the demo and runs it. With a display it runs until you close the
# window; without one it runs under Xvfb for a few seconds. Either way a
# screenshot of the window is saved to build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target open-voskar

source scripts/display.sh
if [[ -n "${DISPLAY:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  ( sleep 4
    wid=$(timeout 10 xdotool search --name '^Open Voskar$' 2>/dev/null | head -n1)
    [[ -n "$wid" ]] && timeout 10 import -window "$wid" build/screenshot.png 2>/dev/null &&
      echo "screenshot saved to build/screenshot.png" ) &
  exec build/native/app/open-voskar
fi

ov_start_display
scripts/e2e.sh demo build/screenshot.png build/native/app/open-voskar
