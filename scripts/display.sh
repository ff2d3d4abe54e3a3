# Sourced: gives the caller an X display with a window manager. Uses the
# display already there unless none is, or CI is set; then starts Xvfb and
# openbox, stopped again when the calling shell exits.

# On a display of our own: starts openbox unless a window manager answers,
# and waits until one does.
ov_ensure_wm() {
  [[ -n "${OV_XVFB_PID:-}" ]] || return 0
  local attempt
  for attempt in 1 2 3; do
    timeout 5 wmctrl -m >/dev/null 2>&1 && return 0
    [[ $attempt -gt 1 || -n "${OV_WM_PID:-}" ]] && echo "window manager gone; starting it again" >&2
    openbox >>"${OV_WM_LOG:-/dev/null}" 2>&1 &
    OV_WM_PID=$!
    for _ in $(seq 100); do
      timeout 5 wmctrl -m >/dev/null 2>&1 && return 0
      kill -0 "$OV_WM_PID" 2>/dev/null || break
      sleep 0.1
    done
    echo "window manager not answering (attempt $attempt)" >&2
  done
  return 1
}

# ov_xvfb FIRST SCREEN: an Xvfb on the first free display number from FIRST,
# with the given screen, in DISPLAY; its process in OV_XVFB_STARTED. Fails
# when it does not answer.
ov_xvfb() {
  local n
  for n in $(seq "$1" $(($1 + 30))); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
  done
  Xvfb ":$n" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
  OV_XVFB_STARTED=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do timeout 5 xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

ov_start_display() {
  if [[ -n "${DISPLAY:-}" && -z "${CI:-}" ]] && timeout 5 xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  ov_xvfb 90 1280x1024x24 || true
  OV_XVFB_PID=$OV_XVFB_STARTED
  trap 'kill ${OV_WM_PID:-} $OV_XVFB_PID 2>/dev/null || true' EXIT
  ov_ensure_wm
}

# A display of its own at 8 bits a pixel, a palette device, for the palette
# checks; the caller stops it (OV_XVFB8_PID). Fails without Xvfb.
ov_start_8bit_display() {
  command -v Xvfb >/dev/null 2>&1 || return 1
  ov_xvfb 130 1024x768x8
  local answered=$?
  OV_XVFB8_PID=$OV_XVFB_STARTED
  return $answered
}
