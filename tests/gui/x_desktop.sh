# The desktop the user tests run at, sourced by them: a virtual X display (Xvfb) with a window
# manager (openbox), a work folder removed at the end, and the helpers the tests wait and fail
# with. Missing tools skip the test (exit 77), or fail it where CORVANE_DESKTOP_TEST_REQUIRED=1.
#
#   . "$(dirname "$0")/x_desktop.sh"
#   start_desktop 1280x1024        # exports DISPLAY once openbox manages the screen
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null && continue
    [ "${CORVANE_DESKTOP_TEST_REQUIRED:-0}" = 1 ] && { echo "FAILED: $tool is not installed"; exit 1; }
    echo "skipped: $tool is not installed (scripts/install-deps.sh --xvfb)"
    exit 77
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Ends the test naming what failed, the windows on the screen and what Corvane printed.
fail() {
    echo "FAILED: $*"
    xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
    [ -s "$work/corvane.log" ] && sed 's/^/  corvane: /' "$work/corvane.log"
    exit 1
}

# Polls `condition` (a command) ten times a second for up to a minute; false when it never held.
until_true() {
    for _ in $(seq 600); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Starts a display of the given size (WIDTHxHEIGHT) and openbox on it.
start_desktop() {
    # Xvfb picks a free number and writes it once it accepts connections.
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    exec 3>&-
    until_true grep -q '[0-9]' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -1 "$work/display")"
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    # The window manager is at work once it names its check window on the root window.
    managing() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    until_true managing || fail "openbox did not start: $(cat "$work/openbox.log")"
}
