#!/bin/bash
# The editor as a user meets it at a real X display with a window manager (Xvfb and openbox),
# driven by xdotool as a person at the keyboard and mouse would: the toolbar's commands run
# from the Alt letters they show, Ctrl+F finds a text in another module, and the Preview's own
# close box closes it. Without Xvfb, openbox or xdotool the test is skipped (exit 77).
#
# Usage: desktop_user_test.sh BUILD_DIR EXAMPLES_DIR
set -u
build=$1
examples=$2
for tool in Xvfb openbox xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/install-deps.sh --xvfb)"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
    exit 1
}

# A display of our own.
for number in $(seq 91 140); do
    [ -e "/tmp/.X$number-lock" ] || { display=":$number"; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

cp -r "$examples/OrderEntry" "$work/"
export CORVANE_REGISTRY=$work/registry.reg CORVANE_ERROR_LOG=$work/errors.log
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$build/bin/corvane" edit "$work/OrderEntry/OrderEntry.vbp" >"$work/corvane.log" 2>&1 &
corvane=$!
pids+=($corvane)

# Waits up to ten seconds for a visible window whose name matches; prints its id.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits up to ten seconds until no visible window's name matches.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# The place of a window's inside on the screen, as xwininfo says: "X Y WIDTH HEIGHT".
place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
                             /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
# Presses keys in a window once it has the focus.
press() {
    local id=$1
    shift
    xdotool windowactivate --sync "$id" >/dev/null 2>&1
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}
# Presses keys in the editor's window.
keys() {
    press "$editor" "$@"
    sleep 0.3
}

editor=$(window '^Corvane Help Text Manager - OrderEntry') || fail "the editor did not open: $(cat "$work/corvane.log")"

# Alt letters: Options (Alt+P) and the languages (Alt+L) open their dialogs, Escape cancels them.
keys alt+p
dialog=$(window '^Help file creation options') || fail "Alt+P did not open the options"
press "$dialog" Escape
gone '^Help file creation options' || fail "Escape did not close the options"
keys alt+l
dialog=$(window '^Select Languages') || fail "Alt+L did not open the languages dialog"
press "$dialog" Escape
gone '^Select Languages' || fail "Escape did not close the languages dialog"
# Alt+C opens the help, Alt+R the Preview.
keys alt+c
window 'Corvane Help$' >/dev/null || fail "Alt+C did not open the help"
keys alt+r
preview=$(window '^Preview') || fail "Alt+R did not open the Preview"

# The Preview lies beside the editor and wholly on the screen.
read -r X Y WIDTH HEIGHT < <(place "$preview")
read -r screenWidth screenHeight < <(xdotool getdisplaygeometry)
# Its title bar (above the inside) too.
[ "$X" -ge 0 ] && [ "$Y" -ge 15 ] && [ $((X + WIDTH)) -le "$screenWidth" ] && [ $((Y + HEIGHT)) -le "$screenHeight" ] ||
    fail "the Preview is not wholly on the screen: $X,$Y ${WIDTH}x$HEIGHT"

# Ctrl+F finds a text that only another module holds.
keys ctrl+f
find=$(window '^Find') || fail "Ctrl+F did not open the find window"
xdotool windowactivate --sync "$find" >/dev/null 2>&1
sleep 0.2
xdotool type --delay 20 'support may ask'
xdotool key Return
find=$(window '^Find - frmAbout.cmdSysInfo') || fail "Ctrl+F did not find the text in frmAbout"
press "$find" Escape
gone '^Find' || fail "Escape did not close the find window"

# The Preview's own close box (the window manager's, at the right end of its title bar).
read -r X Y WIDTH HEIGHT < <(place "$preview")
xdotool mousemove $((X + WIDTH - 9)) $((Y - 10)) click 1
gone '^Preview' || fail "the Preview's close box did not close it"

# Closing the editor ends the program.
xdotool windowactivate --sync "$editor" >/dev/null 2>&1
xdotool key --clearmodifiers alt+F4
for _ in $(seq 100); do kill -0 "$corvane" 2>/dev/null || break; sleep 0.1; done
kill -0 "$corvane" 2>/dev/null && fail "corvane edit kept running after its editor closed"
[ -s "$work/errors.log" ] && fail "errors were logged: $(cat "$work/errors.log")"
echo "passed"
