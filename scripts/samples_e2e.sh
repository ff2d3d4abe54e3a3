#!/usr/bin/env bash
# The sample programs under the display: ov-view shows a bitmap whose window
# pixels must equal what GDI makes of the file, and tk-spin turns its cube
# for five seconds and reports its frame rate. Screenshots go to OUT.
#   scripts/samples_e2e.sh NAME BUILD_EXAMPLES_DIR OUT [RUNNER...]
#   e.g. scripts/samples_e2e.sh wine build/mingw-i686/examples build/samples-wine wine
set -uo pipefail
name=$1 dir=$2 out=$3
shift 3
runner=("$@")
source "$(dirname "$0")/waits.sh"
testdata=${OV_TESTDATA:-$(cd "$(dirname "$0")/.." && pwd)/tests/data}
exe=""
[[ -e "$dir/ov-view.exe" ]] && exe=.exe
mkdir -p "$out"
fail() { echo "samples $name: FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }

# The window's pixels as the screen shows them; import -window waits for
# ever when the window goes meanwhile.
# Found by title afresh: a window may get a new X window when its pixel
# format is set.
shoot() { # title, file
  local geometry x y w h wid
  wid=$(ov_xdotool search --onlyvisible --name "^$1\$" | tail -n1)
  [[ -n $wid ]] || return 1
  geometry=$(timeout 10 xwininfo -id "$wid" 2>/dev/null) || return 1
  w=$(awk '/Width:/ {print $2}' <<<"$geometry")
  h=$(awk '/Height:/ {print $2}' <<<"$geometry")
  x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
  y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
  timeout 10 import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2" 2>/dev/null
}

# A 127 x 64 bitmap: the window is that size, and every pixel as GDI has it.
picture=rgb24.bmp
"${runner[@]}" "$dir/ov-view$exe" "$testdata/bmp/bmpsuite/good/$picture" &
pid=$!
ov_window_of "$picture" "$pid" 30 >/dev/null || fail "ov-view showed no window \"$picture\""
sleep 1
shoot "$picture" "$out/ov-view.png" || fail "no screenshot of ov-view"
size=$(identify -format '%wx%h' "$out/ov-view.png")
[[ "$size" == 127x64 ]] || fail "ov-view's window is $size, not the picture's 127x64"
differing=$(compare -metric AE "$out/ov-view.png" "$testdata/bmp/gdi-reference/$picture.ppm" null: 2>&1)
[[ "$differing" == 0 ]] || fail "$differing pixels differ from the decoded picture"
wid=$(ov_xdotool search --onlyvisible --name "^$picture\$" | tail -n1)
[[ -n $wid ]] || fail "ov-view's window \"$picture\" went"
ov_xdotool windowactivate --sync "$wid" key Escape
ov_wait_exit "$pid" 20 || fail "ov-view exit code $? (124: still running 20 s after Escape)"

# tk-spin finds its bitmap in the folder it runs in.
(cd "$dir" && exec "${runner[@]}" "./tk-spin$exe" --seconds 5) >"$out/tk-spin.log" 2>/dev/null &
pid=$!
ov_window_of tk-spin "$pid" 30 >/dev/null || fail "tk-spin showed no window \"tk-spin\""
sleep 2
shoot tk-spin "$out/tk-spin.png" || fail "no screenshot of tk-spin"
ov_wait_exit "$pid" 30 || fail "tk-spin exit code $? (124: still running 30 s after its start)"
fps=$(tr -d '\r' <"$out/tk-spin.log" | grep -o '[0-9.]* frames per second')
[[ -n "$fps" ]] || fail "tk-spin told no frame rate"
echo "samples $name: ok (ov-view equals the picture; tk-spin $fps; screenshots in $out)"
