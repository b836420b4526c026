#!/bin/bash
# The desktop program's GUI tests at a real X server (Xvfb, no window manager) instead of the
# offscreen platform: windows are mapped, focused and painted by X. Skipped (exit 77) without
# Xvfb, unless CORVANE_DESKTOP_TEST_REQUIRED=1 (as in CI) makes that a failure.
#
# Usage: x_display_gui_test.sh GUI_TEST_PROGRAM
set -u
program=$1
if ! command -v Xvfb >/dev/null; then
    [ "${CORVANE_DESKTOP_TEST_REQUIRED:-0}" = 1 ] && { echo "FAILED: Xvfb is not installed"; exit 1; }
    echo "skipped: Xvfb is not installed (scripts/install-deps.sh --xvfb)"
    exit 77
fi
work=$(mktemp -d)
# Xvfb picks a free display number and writes it once it accepts connections.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
trap 'kill $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 600); do grep -q '[0-9]' "$work/display" && break; sleep 0.1; done
grep -q '[0-9]' "$work/display" || { echo "FAILED: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
"$program"
