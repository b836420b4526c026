# The desktop the user tests run at, sourced by them: a virtual X display (Xvfb) with a window
# manager (openbox), a work folder removed at the end, and the helpers the tests wait, fail,
# find windows and press keys with. Missing tools skip the test (exit 77), or fail it where CORVANE_DESKTOP_TEST_REQUIRED=1.
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

# The id of a visible window whose name matches (and, when given, whose type is
# _NET_WM_WINDOW_TYPE_$2), once there is one.
find_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        [ -z "${2:-}" ] || xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_NET_WM_WINDOW_TYPE_$2," || continue
        echo "$id"
        return 0
    done
    return 1
}
window() {
    local id
    for _ in $(seq 600); do
        id=$(find_window "$@") && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits until no visible window's name matches.
gone() {
    absent() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
    until_true absent "$1"
}
# The place of a window's inside on the screen, as xwininfo says: "X Y WIDTH HEIGHT".
place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
                             /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
# Makes a window the active one, as a click on it would; false when the window manager never
# does.
activate() {
    active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
    for _ in $(seq 60); do
        xdotool windowactivate --sync "$1" >/dev/null 2>&1
        active "$1" && return 0
        sleep 0.5
    done
    return 1
}
# Presses keys in a window once it is the active one.
press() {
    local id=$1
    shift
    activate "$id" || fail "the window $(xdotool getwindowname "$id" 2>/dev/null) could not be activated"
    xdotool key --clearmodifiers "$@"
}
