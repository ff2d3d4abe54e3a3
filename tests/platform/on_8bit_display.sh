#!/usr/bin/env bash
# on_8bit_display.sh COMMAND...: runs COMMAND on an 8-bit display of its own,
# a palette device, where the realisation rules can be checked. Exits 77,
# which ctest counts as skipped, when no such display can be had.
source "$(dirname "$0")/../../scripts/display.sh"
trap 'kill ${OV_XVFB8_PID:-} 2>/dev/null || true' EXIT
ov_start_8bit_display || exit 77
"$@"
