#!/usr/bin/env bash
# The demo's frame rate beside the bare GL loop's, measured alternately in
# one run: three rounds, the medians and their ratio. Timings are noisy on a
# shared machine: the load averages before and after tell whether to repeat.
# LOOP_ADDS puts costs of the demo back into the loop (see bench_gl_loop.cpp).
#   [LOOP_ADDS="peek arithmetic"] bench/app/compare_frame_rates.sh DIR [SECONDS [RUNNER...]]
#   bench/app/compare_frame_rates.sh build/native/bench/app 5
#   bench/app/compare_frame_rates.sh build/mingw-i686/bench/app 5 wine
set -euo pipefail
dir=$1 seconds=${2:-5}
shift $(($# < 2 ? $# : 2))
runner=("$@")
suffix=""
[[ -e $dir/bench_app.exe ]] && suffix=.exe

read -r -a adds <<< "${LOOP_ADDS:-}"

rate() {
  "${runner[@]}" "$dir/$1$suffix" "$seconds" "${@:2}" | tr -d '\r' | sed -n 's/.*: \([0-9.]*\) frames per second$/\1/p'
}
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
demo=() loop=()
for round in 1 2 3; do
  demo+=("$(rate bench_app)")
  loop+=("$(rate bench_gl_loop "${adds[@]}")")
  echo "round $round: demo ${demo[-1]}, bare GL loop${LOOP_ADDS:+ + $LOOP_ADDS} ${loop[-1]} frames per second"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v d="$(median "${demo[@]}")" -v l="$(median "${loop[@]}")" -v loop="bare GL loop${LOOP_ADDS:+ + $LOOP_ADDS}" \
  'BEGIN { printf "medians: demo %.1f, %s %.1f frames per second; demo / loop = %.3f\n", d, loop, l, d / l }'
