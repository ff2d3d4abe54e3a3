#!/usr/bin/env bash
# The sample programs under the display. Both answer --help and refuse a bad
# argument with code 2. ov-view shows a bitmap whose window pixels must equal
# what GDI makes of the file: as it opens, zoomed in about the centre, after
# 200 steps out and 5 back in, and centred in a resized window; a picture
# larger than the screen opens at a power-of-two size that fits. tk-spin
# finds its bitmap beside the program from any folder, turns its cube for five
# seconds and reports its frame rate, ends a timed run while paused, and says
# on standard error when it has no texture. Screenshots go to OUT.
#   scripts/samples_e2e.sh NAME BUILD_EXAMPLES_DIR OUT [RUNNER...]
#   e.g. scripts/samples_e2e.sh wine build/mingw-i686/examples build/samples-wine wine
set -uo pipefail
name=$1 dir=$(realpath "$2") out=$(realpath -m "$3")
shift 3
runner=("$@")
source "$(dirname "$0")/waits.sh"
testdata=${OV_TESTDATA:-$(cd "$(dirname "$0")/.." && pwd)/tests/data}
exe=""
[[ -e "$dir/ov-view.exe" ]] && exe=.exe
mkdir -p "$out"
pid=""
fail() { echo "samples $name: FAIL: $*"; [[ -n $pid ]] && kill "$pid" 2>/dev/null; exit 1; }

# The window's pixels as the screen shows them; import -window waits for
# ever when the window goes meanwhile, and so does xwininfo without an id.
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

window_of() { ov_window_of "$1" "$2" 30; } # title, process
# Waits up to 20 s for the process to end; its exit code, 124 if it did not.
ended() { ov_wait_exit "$pid" 20; }

# The window's pixels against an expected picture, every pixel equal.
shows() { # title, shot, expected picture
  shoot "$1" "$out/$2" || fail "no screenshot $2"
  local differing
  differing=$(compare -metric AE "$out/$2" "$3" null: 2>&1)
  [[ "$differing" == 0 ]] || fail "$2: $differing pixels differ from $(basename "$3")"
}

# --help answers with the usage, a bad argument is refused with code 2.
for case in "ov-view --help:0" "ov-view:2" "ov-view --bogus:2" "ov-view a b:2" "tk-spin --help:0" \
  "tk-spin --seconds abc:2" "tk-spin --seconds:2" "tk-spin --bogus:2"; do
  read -ra words <<<"${case%:*}"
  timeout 30 "${runner[@]}" "$dir/${words[0]}$exe" "${words[@]:1}" >"$out/arguments.out" 2>"$out/arguments.err"
  code=$?
  [[ $code == "${case##*:}" ]] || fail "${case%:*} ended with code $code"
  if [[ $code == 0 ]]; then
    grep -q '^usage: ' "$out/arguments.out" || fail "${case%:*} printed no usage"
  else
    [[ -s $out/arguments.err ]] || fail "${case%:*} gave no message"
  fi
done

# A 127 x 64 bitmap: the window is that size, and every pixel as GDI has it.
picture=rgb24.bmp
reference=$testdata/bmp/gdi-reference/$picture.ppm
"${runner[@]}" "$dir/ov-view$exe" "$testdata/bmp/bmpsuite/good/$picture" &
pid=$!
wid=$(window_of "$picture" "$pid") || fail "ov-view showed no window"
sleep 1
shoot "$picture" "$out/ov-view.png" || fail "no screenshot of ov-view"
size=$(identify -format '%wx%h' "$out/ov-view.png")
[[ "$size" == 127x64 ]] || fail "ov-view's window is $size, not the picture's 127x64"
shows "$picture" ov-view.png "$reference"
# Twice as large about the centre: the middle 64 x 32 of the picture.
convert "$reference" -sample 200% -crop 127x64+64+32 +repage "$out/zoomed-expected.png"
ov_xdotool windowactivate --sync "$wid" key Up
sleep 1
shows "$picture" ov-view-zoomed.png "$out/zoomed-expected.png"
# Zooming out stops at a size it comes back from.
ov_xdotool key --delay 5 --repeat 200 o
sleep 1
ov_xdotool key --delay 50 --repeat 5 i
sleep 1
shows "$picture" ov-view-back.png "$reference"
# Resized, the picture stays in the middle.
ov_xdotool windowsize --sync "$wid" 300 200
sleep 1
convert -size 300x200 xc:black "$reference" -geometry +86+68 -composite "$out/resized-expected.png"
shows "$picture" ov-view-resized.png "$out/resized-expected.png"
ov_xdotool windowactivate --sync "$(ov_xdotool search --onlyvisible --name "^$picture\$" | tail -n1)" key Escape
ended || fail "ov-view exit code $?"

# A picture larger than the screen opens at a size that fits, a power of two smaller.
convert -size 3000x1500 gradient:red-blue "BMP3:$out/large.bmp"
"${runner[@]}" "$dir/ov-view$exe" "$out/large.bmp" &
pid=$!
wid=$(window_of large.bmp "$pid") || fail "ov-view showed no window for large.bmp"
sleep 1
read -r width height < <(timeout 10 xwininfo -id "$wid" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
read -r screen_width screen_height < <(timeout 10 xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
fits=0
for shift in 1 2 3 4 5; do
  [[ $((width << shift)) == 3000 && $((height << shift)) == 1500 ]] && fits=1
done
[[ $fits == 1 && $width -le $screen_width && $height -le $screen_height ]] ||
  fail "a 3000 x 1500 picture opened at ${width}x$height on a ${screen_width}x$screen_height screen"
ov_xdotool windowactivate --sync "$wid" key Escape
ended || fail "ov-view exit code $? for large.bmp"

# tk-spin finds its bitmap beside its program, whatever folder it runs in.
(cd "$out" && exec "${runner[@]}" "$dir/tk-spin$exe" --seconds 5) >"$out/tk-spin.log" 2>"$out/tk-spin.err" &
pid=$!
window_of tk-spin "$pid" >/dev/null || fail "tk-spin showed no window"
sleep 2
shoot tk-spin "$out/tk-spin.png" || fail "no screenshot of tk-spin"
ended || fail "tk-spin exit code $?"
fps=$(tr -d '\r' <"$out/tk-spin.log" | grep -o '[0-9.]* frames per second')
[[ -n "$fps" ]] || fail "tk-spin told no frame rate"
grep -q 'no texture' "$out/tk-spin.err" && fail "tk-spin found no texture: $(cat "$out/tk-spin.err")"

# Paused, a timed run still ends; alone in a folder, it says it has no texture.
mkdir -p "$out/alone"
cp "$dir/tk-spin$exe" "$out/alone/"
"${runner[@]}" "$out/alone/tk-spin$exe" --seconds 3 2>"$out/tk-spin-alone.err" >/dev/null &
pid=$!
wid=$(window_of tk-spin "$pid") || fail "tk-spin showed no window when alone"
ov_xdotool windowactivate --sync "$wid" key space
ended || fail "tk-spin paused did not end in time (code $?)"
grep -q 'no texture' "$out/tk-spin-alone.err" || fail "tk-spin alone did not say it has no texture"
echo "samples $name: ok (ov-view equals the picture as it opens, zoomed, zoomed back and resized;" \
  "tk-spin $fps; screenshots in $out)"
