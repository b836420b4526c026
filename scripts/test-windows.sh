#!/usr/bin/env bash
# Runs the Windows build's tests (scripts/build-windows.sh) under Wine, through ctest; a whole
# run (no arguments) then compiles the example project with the unpacked zip under Wine.
# Usage: scripts/test-windows.sh [CTEST ARGUMENTS...]
#   The Wine prefix lives in build-windows/wine (made on the first run); Debian's wine64
#   package installs no wine64 command, so Wine runs as /usr/lib/wine/wine64, the emulator the
#   cross build names for ctest.
set -euo pipefail
# Wine's window driver needs an X display even for Qt's offscreen platform: without one the
# run gets a virtual X server of its own.
if [ -z "${DISPLAY:-}" ] && [ -z "${CORVANE_WINE_XVFB:-}" ] && command -v xvfb-run >/dev/null; then
    exec env CORVANE_WINE_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-windows"
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "test-windows: no Windows build in $build: run scripts/build-windows.sh first" >&2
    exit 2
fi
export WINEPREFIX="$build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installer dialogs
# hhc.exe finds chmcmd.exe beside it; the tests that copy hhc.exe elsewhere name it here.
export CORVANE_CHMCMD="Z:$build/bin/helpcompilers/chmcmd.exe"
# chmls.exe, for the tests that read a compiled file; the Qt and MinGW DLLs for the GUI tests,
# which also find Qt's plugins there.
export WINEPATH="Z:$build/bin/helpcompilers;Z:$build/bin"
export QT_PLUGIN_PATH="Z:$build/bin"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "test-windows: preparing the Wine prefix $WINEPREFIX" >&2
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
fi
# Wine's own fonts (fonts-wine: Tahoma, MS Sans Serif ...) in the prefix's Fonts folder, where a
# Windows program finds its dialog font: Wine does not load them from its data folder, and the
# dialog font then falls back to a serif face of other widths.
cp -u /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
cd "$build"
status=0
# A test that fails runs once more, and only a second failure fails the run: under load, Wine
# now and then cannot start a program (a just-copied hhc.exe, the tests' own edit driver while
# many processes run), with an error that has no Windows name in the message. The first
# failure's output stays in the log, and the tests that needed the second run are listed.
ctest -j2 --output-on-failure --timeout 300 --repeat until-pass:2 "$@" | tee "$build/ctest-wine.log" || status=$?
retried="$(grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(\*\*\*(Failed|Exception|Timeout)|\(Failed\))' "$build/ctest-wine.log" |
    sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/' | sort -u || true)"
if [ -n "$retried" ]; then
    echo "test-windows: these tests failed a first run under Wine (their output is above):" >&2
    echo "$retried" | sed 's/^/test-windows:   /' >&2
fi

# The VB6 add-in registered by Wine's regsvr32 in a fresh Wine prefix and removed again leaves
# the registry and vbaddin.ini as they were: the 64-bit build of its sources (64-bit Wine cannot
# run the zip's 32-bit one). Only on a whole run.
if [ "$#" -eq 0 ]; then
    if ! "$root/tests/vb6addin/registration_test.sh" "$build/bin/corvane-addin.dll"; then
        status=1
    fi
fi

# The zip as a user unpacks it compiles the example project: corvane.exe runs hhc.exe, which
# runs chmcmd.exe, and the .chm beside the project holds the popup texts. Only on a whole run.
if [ "$#" -eq 0 ]; then
    echo "test-windows: compiling the example with the unpacked zip" >&2
    work="$(mktemp -d)"
    unzip -q "$build/corvane-windows-x64.zip" -d "$work"
    cp -r "$root/examples/OrderEntry" "$work/OrderEntry"
    # hhc.exe finds chmcmd.exe beside it, as on a user's machine.
    if (cd "$work/OrderEntry" && env -u CORVANE_CHMCMD CORVANE_REGISTRY="Z:${work//\//\\}\\settings.reg" \
            /usr/lib/wine/wine64 "$work/corvane/bin/corvane.exe" compile OrderEntry.vbp --yes) >"$work/compile.log" 2>&1 &&
        [ -s "$work/OrderEntry/OrderEntry_Context.chm" ] &&
        chmls -n list "$work/OrderEntry/OrderEntry_Context.chm" 2>/dev/null | grep -q '/OrderEntry_ContextTopics.txt' &&
        chmls extract "$work/OrderEntry/OrderEntry_Context.chm" /OrderEntry_ContextTopics.txt "$work/popups.txt" >/dev/null 2>&1 &&
        cmp -s "$work/popups.txt" "$work/OrderEntry/Corvane/English/OrderEntry_ContextTopics.txt"; then
        echo "test-windows: the example compiled to OrderEntry_Context.chm under Wine" >&2
    else
        echo "test-windows: the example did not compile to a .chm holding its popups under Wine:" >&2
        cat "$work/compile.log" >&2
        status=1
    fi
    rm -rf "$work"
fi
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit "$status"
