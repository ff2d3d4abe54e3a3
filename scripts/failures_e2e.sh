#!/usr/bin/env bash
# What a user meets when a program cannot show itself: with no usable display
# the demo and the samples say why on standard error and end with a failure
# code; and a message box goes away with the program that showed it.
#   scripts/failures_e2e.sh BUILD_DIR   (a native build; needs $DISPLAY for the box)
set -uo pipefail
build=$1
source "$(dirname "$0")/waits.sh"
failures=0
fail() { echo "failures e2e: FAIL: $*"; failures=$((failures + 1)); }

# expect NAME EXPECTED_CODE LINE... -- COMMAND...: run with a 30 s bound; each
# LINE must be a whole line of its standard error.
expect() {
  local name=$1 code=$2 lines=() err got line
  shift 2
  while [[ $1 != -- ]]; do lines+=("$1"); shift; done
  shift
  err=$(timeout 30 "$@" 2>&1 >/dev/null)
  got=$?
  [[ $got -ne 124 ]] || { fail "$name: still running after 30 s"; return; }
  [[ $got -eq $code ]] || fail "$name: exit code $got, not $code"
  for line in "${lines[@]}"; do
    grep -q -x -F -- "$line" <<<"$err" || fail "$name: no line \"$line\" on standard error, only: $err"
  done
}

[[ -e /tmp/.X11-unix/X199 ]] && fail "something listens on :199"
unset=(env -u DISPLAY)
expect "demo, DISPLAY unset" 1 "open-voskar: no usable display: DISPLAY is not set" \
  "open-voskar: ERROR: Window Creation Error." -- "${unset[@]}" "$build/app/open-voskar"
expect "demo, no X server" 1 "open-voskar: no usable display: cannot use \":199\" (x11 not available)" \
  "open-voskar: ERROR: Window Creation Error." -- env DISPLAY=:199 "$build/app/open-voskar"
expect "ov-view, DISPLAY unset" 1 "ov-view: no usable display: DISPLAY is not set" \
  "ov-view: create window failed" -- "${unset[@]}" "$build/examples/ov-view" "$(dirname "$0")/../tests/data/sgi/hopper.rgb"
expect "ov-view, DISPLAY unset, a missing file" 1 "ov-view: Failed to open image file /nonexistent.bmp." -- \
  "${unset[@]}" "$build/examples/ov-view" /nonexistent.bmp
expect "tk-spin, DISPLAY unset" 1 "tk-spin: no usable display: DISPLAY is not set" "tk-spin: create window failed" -- \
  "${unset[@]}" "$build/examples/tk-spin" --seconds 1

# A box shown by a program that is then killed must not stay on the screen.
# (xdotool does not find SDL's box by its name; the window tree does.)
boxes() { timeout 10 xwininfo -root -tree 2>/dev/null | grep -c '"Error"'; }
"$build/tests/e2e/tk-recorder" --box /nonexistent.bmp 2>/dev/null &
pid=$!
deadline=$((SECONDS + 30))
until [[ $(boxes) -gt 0 ]] || ((SECONDS >= deadline)); do sleep 0.2; done
children=$(pgrep -P "$pid")
if [[ $(boxes) -gt 0 ]]; then
  kill -9 "$pid"
  wait "$pid" 2>/dev/null
  deadline=$((SECONDS + 10))
  until [[ $(boxes) -eq 0 ]] || ((SECONDS >= deadline)); do sleep 0.2; done
  [[ $(boxes) -eq 0 ]] || fail "the \"Error\" box stayed 10 s after its program was killed"
else
  fail "the reader showed no \"Error\" box for a missing file within 30 s"
fi
kill -9 "$pid" $children 2>/dev/null # and a box left behind by the fault this checks
wait "$pid" 2>/dev/null

[[ $failures -eq 0 ]] && echo "failures e2e: ok (the demo and the samples say why without a display; a box goes with its program)"
[[ $failures -eq 0 ]]
