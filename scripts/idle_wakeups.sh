#!/usr/bin/env bash
# Context switches per second of a program's threads while nothing happens:
# the program (tk-recorder) is started, given 2 s to open its window and
# settle, then its threads' switches are counted over SECONDS seconds.
#   scripts/idle_wakeups.sh SECONDS COMMAND...
set -uo pipefail
seconds=$1
shift
out=$(mktemp)
"$@" >"$out" 2>/dev/null &
pid=$!
for _ in $(seq 300); do
  grep -q '^ready' "$out" && break
  sleep 0.1
done
sleep 2
# A Windows program under Wine runs in a process of its own below the launcher.
target=$pid
for child in $(pgrep -P "$pid"); do target=$child; done
switches() {
  cat /proc/"$target"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n + 0}'
}
threads=$(ls /proc/"$target"/task | wc -l)
before=$(switches)
sleep "$seconds"
after=$(switches)
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
rm -f "$out"
echo "$(basename "$1") ${*:2}: $threads threads, $((after - before)) switches in $seconds s," \
  "$(awk -v d=$((after - before)) -v s="$seconds" 'BEGIN {printf "%.1f", d / s}') per second"
