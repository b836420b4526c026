#!/bin/bash
# The editor's surface as a user meets it on a small screen (1024x768) at a real X display with
# a window manager (Xvfb and openbox), driven by xdotool: the editor's place kept while a
# second screen was attached comes back on this one; the host window names the project and its
# Add-Ins menu answers the IDE's own entries; the help window and the Preview lie wholly on the
# screen; in a window too narrow for the toolbar, a hidden command still runs from its Alt
# letter; and after kill -9 the next editor says that it takes the ended editor's place.
# Without Xvfb, openbox, xdotool or the X utilities the test is skipped (exit 77), unless
# CORVANE_DESKTOP_TEST_REQUIRED=1 (as in CI) makes a missing tool a failure.
#
# Every step waits for what the user would see (a window, a title, a file written), never for
# a fixed time alone: a wait gives up after a minute.
#
# Usage: editor_surface_user_test.sh BUILD_DIR EXAMPLES_DIR
set -u
build=$1
examples=$2
. "$(dirname "$0")/x_desktop.sh"
start_desktop 1024x768

cp -r "$examples/OrderEntry" "$work/"
project=$work/OrderEntry
export CORVANE_REGISTRY=$work/registry.reg CORVANE_ERROR_LOG=$work/errors.log
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# The editor's place as kept while a second screen stood right of this one (in twips).
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane\\WindowPosition_Main]\r\n"Left"="24000"\r\n"Top"="1200"\r\n"Width"="12000"\r\n"Height"="9000"\r\n' \
    >"$CORVANE_REGISTRY"
# True when the window's inside and its title bar lie wholly on the 1024x768 screen.
on_screen() {
    local X Y WIDTH HEIGHT
    read -r X Y WIDTH HEIGHT < <(place "$1")
    [ "$X" -ge 0 ] && [ "$Y" -ge 15 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 768 ]
}
start_editor() {
    "$build/bin/corvane" edit "$project/OrderEntry.vbp" >>"$work/corvane.log" 2>&1 &
    corvane=$!
    pids+=($corvane)
}
kept_view() { grep -q "\"GridView\"=\"$1\"" "$CORVANE_REGISTRY" 2>/dev/null; }

start_editor
editor=$(window '^Corvane Help Text Manager - OrderEntry') || fail "the editor did not open"
# Kept at x=1600 (no screen there now), the editor comes onto this screen.
read -r X Y WIDTH HEIGHT < <(place "$editor")
[ "$X" -lt 1024 ] && [ $((X + WIDTH / 2)) -lt 1024 ] || fail "the editor opened off the screen at $X,$Y"
# The host window names the project; its Add-In Manager says which add-ins it loads.
host=$(window '^OrderEntry - Corvane - Project Host') || fail "the host window does not name the project"
press "$host" alt+a
sleep 0.5
xdotool key --clearmodifiers a
answer=$(window '^Corvane - Project Host$' DIALOG) || fail "the Add-In Manager did not answer"
press "$answer" Return
gone '^Corvane - Project Host$' || fail "Return did not close the Add-In Manager's message"

# The help window on a 768-pixel-high screen: wholly on it.
press "$editor" alt+c
help=$(window 'Corvane Help$') || fail "Alt+C did not open the help"
until_true on_screen "$help" || fail "the help window runs off the screen: $(place "$help")"
# The Preview: wholly on the screen too.
press "$editor" alt+r
preview=$(window '^Preview') || fail "Alt+R did not open the Preview"
until_true on_screen "$preview" || fail "the Preview runs off the screen: $(place "$preview")"
press "$preview" Escape
gone '^Preview' || fail "Escape did not close the Preview"

# A window too narrow for the toolbar: Alt+A (the card view, out of sight) still runs.
xdotool windowsize "$editor" 360 500
press "$editor" alt+a
press "$editor" alt+F4
ended() { ! kill -0 "$corvane" 2>/dev/null; }
until_true ended || fail "corvane edit kept running after its editor closed"
kept_view 1 || fail "Alt+A did not show the card view in a narrow window"

# kill -9, then the next editor takes the ended one's place and says so.
start_editor
editor=$(window '^Corvane Help Text Manager - OrderEntry') || fail "the editor did not open again"
[ -e "$project/ContextHelp.txt.inuse" ] || fail "the editor keeps no marker"
kill -9 "$corvane"
start_editor
told=$(window '^Editor ended' DIALOG) || fail "the next editor took the marker over silently"
press "$told" Return
editor=$(window '^Corvane Help Text Manager - OrderEntry') || fail "the editor did not open after the notice"
press "$editor" alt+F4
until_true ended || fail "corvane edit kept running after its editor closed"
[ -s "$work/errors.log" ] && fail "errors were logged: $(cat "$work/errors.log")"
grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$work/corvane.log" && fail "the sanitizers reported a fault"
echo "passed"
