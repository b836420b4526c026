#!/bin/bash
# The desktop program's GUI tests built for Windows, run under Wine on Qt's Windows platform at
# a virtual X display with a window manager (Xvfb and openbox, as a Windows desktop has one):
# without a window manager Wine's windows wait for activations that never come, and the run
# takes ten times as long. Skipped (exit 77) without those tools, unless
# CORVANE_DESKTOP_TEST_REQUIRED=1 (as in CI) makes that a failure.
#
# Usage: wine_gui_test.sh GUI_TEST_PROGRAM.exe [GOOGLE TEST ARGUMENTS...]
#   Runs in the Wine prefix scripts/test-windows.sh prepares (WINEPREFIX, WINEPATH).
set -u
program=$1
shift
. "$(dirname "$0")/x_desktop.sh"
start_desktop 1280x1024
unset WAYLAND_DISPLAY
/usr/lib/wine/wine64 "$program" "$@"
