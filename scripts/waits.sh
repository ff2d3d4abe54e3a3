# Sourced: bounded waits for the end-to-end scripts. Nothing here waits
# longer than it is told; a window that never shows is named on failure.

# ov_window_of TITLE PID [SECONDS]: the id of PID's visible window titled
# exactly TITLE, within SECONDS (30); fails with a line naming it otherwise.
ov_window_of() {
  local title=$1 pid=$2 limit=${3:-30} wid="" deadline=$((SECONDS + ${3:-30}))
  while ((SECONDS < deadline)); do
    wid=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1)
    [[ -n $wid ]] && { echo "$wid"; return 0; }
    kill -0 "$pid" 2>/dev/null || { echo "no window \"$title\": the program ended first" >&2; return 1; }
    sleep 0.1
  done
  echo "no window \"$title\" within $limit s" >&2
  return 1
}

# ov_wait_exit PID SECONDS: PID's exit code once it ends; after SECONDS it is
# killed and the result is 124, as timeout(1) gives.
ov_wait_exit() {
  local pid=$1 deadline=$((SECONDS + $2))
  while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 124
  fi
  wait "$pid"
}

# xdotool, whose --sync waits for ever when the window never gets there.
ov_xdotool() { timeout 10 xdotool "$@"; }
