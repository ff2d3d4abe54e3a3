#!/usr/bin/env bash
# End-to-end check of the real program: it opens "Open Voskar" with an
# 800 x 600 client area, draws white dots and lines on black, and exits 0 when
# the window manager closes it.
#   scripts/e2e.sh NAME SCREENSHOT COMMAND...
set -uo pipefail
name=$1 shot=$2
shift 2
source "$(dirname "$0")/waits.sh"

fail() { echo "e2e $name: FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }

"$@" &
pid=$!

wid=$(ov_window_of 'Open Voskar' "$pid" 30) || fail "no window named \"Open Voskar\""

sleep 3 # let it turn and relax for a while
geometry=$(timeout 10 xwininfo -id "$wid")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
[[ "$width" == 800 && "$height" == 600 ]] || fail "client area is ${width}x${height}, not 800x600"

timeout 10 import -window root -crop "800x600+$x+$y" +repage "$shot" 2>/dev/null || fail "screenshot failed"
white=$(convert "$shot" -colorspace Gray -threshold 90% -format '%[fx:mean]' info:)
black=$(convert "$shot" -colorspace Gray -negate -threshold 90% -format '%[fx:mean]' info:)
awk -v w="$white" -v b="$black" 'BEGIN { exit !(w > 0.002 && w < 0.3 && b > 0.6) }' ||
  fail "picture is not white dots on black (white $white, black $black)"

# Through the window manager's client list, as a user's click on the close box.
timeout 10 wmctrl -F -c 'Open Voskar' || fail "window manager could not close it ($(wmctrl -m 2>&1 | head -1); clients: $(wmctrl -l 2>&1 | tr '\n' ';'))"
ov_wait_exit "$pid" 20
code=$?
[[ $code -ne 124 ]] || fail "still running 20 s after the close"
[[ $code -eq 0 ]] || fail "exit code $code"
echo "e2e $name: ok (white $white, black $black, exit 0, $shot)"
