#!/usr/bin/env bash
# Runs the Windows build's tests (scripts/build-windows.sh) under Wine, through ctest.
# Usage: scripts/test-windows.sh [CTEST ARGUMENTS...]
#   The Wine prefix lives in build-windows/wine (made on the first run); Debian's wine64
#   package installs no wine64 command, so Wine runs as /usr/lib/wine/wine64, the emulator the
#   cross build names for ctest.
set -euo pipefail
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
export WINEPATH="Z:$build/bin/helpcompilers" # chmls.exe, for the tests that read a compiled file
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "test-windows: preparing the Wine prefix $WINEPREFIX" >&2
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
fi
cd "$build"
status=0
ctest -j2 --output-on-failure --timeout 300 "$@" || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit "$status"
