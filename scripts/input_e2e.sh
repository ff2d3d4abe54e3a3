#!/usr/bin/env bash
# Real X input into a toolkit program through the window manager: keys,
# each mouse button (with the pointer's position asked at each press), a drag
# past the left edge, a resize, a move and the close box; then what the
# program's callbacks got, line by line.
#   scripts/input_e2e.sh NAME COMMAND...   (COMMAND runs tk-recorder)
set -uo pipefail
name=$1
shift
source "$(dirname "$0")/waits.sh"
record=$(mktemp)
"$@" >"$record" 2>/dev/null &
pid=$!

fail() {
  echo "input e2e $name: FAIL: $*"
  sed 's/^/  | /' "$record"
  kill "$pid" 2>/dev/null
  exit 1
}
settle() { sleep "${1:-0.3}"; }

deadline=$((SECONDS + 30))
until grep -q '^ready' "$record"; do
  kill -0 "$pid" 2>/dev/null || fail "ended before its window was ready"
  ((SECONDS < deadline)) || fail "window tk-recorder not ready within 30 s"
  sleep 0.1
done
wid=$(ov_window_of tk-recorder "$pid" 10) || fail "no window named tk-recorder"
ov_xdotool windowactivate --sync "$wid" 2>/dev/null || ov_xdotool windowfocus --sync "$wid"
settle

ov_xdotool key --delay 60 shift+a ctrl+Escape Tab F1 BackSpace 1 2 3 Up
settle
for button in 1 2 3; do
  ov_xdotool mousemove --window "$wid" 50 60 click "$button"
  settle 0.15
done
ov_xdotool mousemove --window "$wid" 100 100 mousedown 1
settle 0.15
ov_xdotool mousemove --window "$wid" 60 100
settle 0.15
ov_xdotool mousemove --window "$wid" -- -30 100
settle 0.15
ov_xdotool mouseup 1
settle
ov_xdotool windowsize --sync "$wid" 500 350
settle 0.5
ov_xdotool windowmove --sync "$wid" 320 260
settle 0.5
ov_xdotool mousemove --window "$wid" 10 10
settle 0.15
ov_xdotool key p
settle
timeout 10 wmctrl -i -c "$wid" || fail "the window manager could not close it"
ov_wait_exit "$pid" 20
code=$?
[[ $code -ne 124 ]] || fail "still running 20 s after the close"
[[ $code -eq 0 ]] || fail "exit code $code"

tr -d '\r' <"$record" >"$record.lf" && mv "$record.lf" "$record" # a Windows console ends lines with CR LF
# Each expected line must come after the one before it.
expect=("reshape 400 300" "key 65 1" "key 27 2" "key 49 0" "key 50 0" "key 51 0" "key 38 0"
        "down 50 60 1" "pointer 50 60" "up 50 60 1" "down 50 60 4" "pointer 50 60" "up 50 60 4"
        "down 50 60 2" "pointer 50 60" "up 50 60 2" "down 100 100 1" "pointer 100 100" "drag -30 100 1"
        "up -30 100 1" "reshape 500 350" "key 112 0" "pointer 10 10" "closed, all null")
at=0
for line in "${expect[@]}"; do
  found=$(tail -n +"$((at + 1))" "$record" | grep -n -x -F -m1 "$line" | cut -d: -f1)
  [[ -n "$found" ]] || fail "no \"$line\" after line $at"
  at=$((at + found))
done
# Tab, F1 and Backspace never reach onKey; the only 112 is the p.
grep -q -E '^key (9|8) ' "$record" && fail "Tab or Backspace reached onKey"
[[ $(grep -c '^key 112 ' "$record") -eq 1 ]] || fail "F1 reached onKey"
echo "input e2e $name: ok ($(wc -l <"$record") callbacks recorded)"
rm -f "$record"
