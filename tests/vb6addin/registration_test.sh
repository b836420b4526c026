#!/usr/bin/env bash
# Registers the VB6 add-in with Wine's regsvr32 in a fresh Wine prefix and removes it again:
# registration writes the class, the ProgID, the IDE's add-in key and the vbaddin.ini entry for
# the current user; removal leaves the registry and vbaddin.ini exactly as they were.
# Usage: registration_test.sh ADDIN.dll    (run by scripts/test-windows.sh)
set -euo pipefail
dll="$1"
wine=/usr/lib/wine/wine64
work="$(mktemp -d)"
trap 'WINEPREFIX="$work/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot --init >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w

# The user's registry file without the times Wine writes into it (the add-in writes nothing
# else: the machine's file changes with every start of Wine), and vbaddin.ini (or its absence).
snapshot() {
    /usr/lib/wine/wineserver -w # the registry reaches its files when Wine's server ends
    sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=/d' "$WINEPREFIX/user.reg" >"$1"
    local ini="$WINEPREFIX/drive_c/windows/vbaddin.ini"
    if [ -f "$ini" ]; then { echo "vbaddin.ini:"; cat "$ini"; } >>"$1"; else echo "no vbaddin.ini" >>"$1"; fi
}
fail() { echo "registration_test: $*" >&2; exit 1; }

windows_dll="Z:${dll//\//\\}"
for round in 1 2; do # the second round: over an existing vbaddin.ini with another add-in in it
    snapshot "$work/before.txt"
    "$wine" regsvr32 /s "$windows_dll" || fail "regsvr32 failed (round $round)"
    "$wine" regsvr32 /s "$windows_dll" || fail "a second regsvr32 failed (round $round)"
    snapshot "$work/registered.txt"
    for expected in '\[Software\\\\Classes\\\\Corvane.Wizard\\\\CLSID\]' \
        '\[Software\\\\Microsoft\\\\Visual Basic\\\\6.0\\\\Addins\\\\Corvane.Wizard\]' '"LoadBehavior"=dword:00000001' \
        '"FriendlyName"="Corvane"' '"ThreadingModel"="Apartment"' '^Corvane.Wizard=1'; do
        grep -q "$expected" "$work/registered.txt" || fail "registered, but no $expected (round $round)"
    done
    grep -qi "^@=\"${windows_dll//\\/\\\\\\\\}\"" "$work/registered.txt" || fail "InprocServer32 does not name $windows_dll"
    "$wine" regsvr32 /u /s "$windows_dll" || fail "regsvr32 /u failed (round $round)"
    snapshot "$work/after.txt"
    diff -u "$work/before.txt" "$work/after.txt" || fail "removal did not restore the registry and vbaddin.ini (round $round)"
    printf '[Add-Ins32]\r\nOther.Connect=0\r\n' >"$WINEPREFIX/drive_c/windows/vbaddin.ini"
done
echo "registration_test: registered and removed without a trace, with and without a vbaddin.ini"
