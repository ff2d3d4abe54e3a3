# Sourced: gives the caller an X display with a window manager. Uses the
# display already there unless none is, or CI is set; then starts Xvfb and
# openbox, stopped again when the calling shell exits.
ov_start_display() {
  if [[ -n "${DISPLAY:-}" && -z "${CI:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  OV_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  OV_WM_PID=$!
  for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
  trap 'kill $OV_WM_PID $OV_XVFB_PID 2>/dev/null || true' EXIT
}
