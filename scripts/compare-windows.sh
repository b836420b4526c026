#!/usr/bin/env bash
# Runs the command line of the Linux build (build/) and of the Windows build under Wine
# (build-windows/) on the same projects and compares what they print and write.
# Usage: [CORVANE_COMPARE_KEEP=1] scripts/compare-windows.sh [FORMS]
#   The projects: the example (examples/OrderEntry) and a synthetic one of FORMS forms (400).
#   Each runs scan --save, coverage (text and --json), spell, export (XLIFF and PO), import of
#   the exported file, and compile --yes. Compared: the printed text, the data file, the forms
#   and the project after the compile, the settings (a .reg file, CORVANE_REGISTRY), the
#   exported files and every file inside each compiled .chm (listed and extracted with the
#   Linux chmls). Line ends and the path of the run folder (Z:\... under Wine) are evened out
#   in printed text only; files are compared byte for byte.
#   Where both builds have the desktop program, the editor's pictures of the example are
#   compared too (scripts/windows/screenshot_layout.py: size and layout, fonts aside), and so
#   is the data file each build's GUI tests saved from the editor after the same edits.
# Prints one line per difference and a summary; exits 1 when anything differs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
forms="${1:-400}"
linux="$root/build/bin/corvane"
windows="$root/build-windows/bin/corvane.exe"
for program in "$linux" "$windows"; do
    [ -x "$program" ] || [ -f "$program" ] || { echo "compare-windows: $program is missing; build it first" >&2; exit 2; }
done
command -v chmls >/dev/null || { echo "compare-windows: chmls (fp-utils) is missing" >&2; exit 2; }
export WINEPREFIX="$root/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true; }
work="$(mktemp -d)"
if [ -n "${CORVANE_COMPARE_KEEP:-}" ]; then # the runs stay for a closer look
    echo "compare-windows: the runs are kept in $work" >&2
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
else
    trap 'rm -rf "$work"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
fi
differences=0

differ() {
    echo "DIFFERS: $*"
    differences=$((differences + 1))
}

# Runs one command of both builds in their copies of a project: output in <side>/out/<step>.
run_both() {
    local step="$1" project="$2"
    shift 2
    (cd "$work/linux/$project" && CORVANE_REGISTRY="$work/linux/settings.reg" \
        CORVANE_DICTIONARY_PATH=/usr/share/hunspell "$linux" "$@" >"$work/linux/out/$step" 2>&1;
        echo "exit status $?" >>"$work/linux/out/$step") || true
    (cd "$work/windows/$project" && CORVANE_REGISTRY='Z:'"${work//\//\\}"'\windows\settings.reg' \
        CORVANE_DICTIONARY_PATH='Z:\usr\share\hunspell' /usr/lib/wine/wine64 "$windows" "$@" \
        >"$work/windows/out/$step" 2>&1;
        echo "exit status $?" >>"$work/windows/out/$step") || true
    # Printed text: CR LF as LF, the Windows run folder as the Linux one, backslashes as slashes.
    local windowsFolder='Z:'"${work//\//\\}"'\windows'
    python3 - "$work/windows/out/$step" "$windowsFolder" "$work/linux" "$work/windows" <<'EOF'
import sys
path, folder, linux, windows = sys.argv[1:]
text = open(path, encoding="utf-8", errors="surrogateescape").read().replace("\r\n", "\n")
text = text.replace(folder, linux).replace(folder.lower(), linux).replace(windows, linux).replace("\\", "/")
open(path + ".even", "w", encoding="utf-8", errors="surrogateescape").write(text)
EOF
    python3 - "$work/linux/out/$step" <<'EOF'
import sys
text = open(sys.argv[1], encoding="utf-8", errors="surrogateescape").read().replace("\\", "/")
open(sys.argv[1] + ".even", "w", encoding="utf-8", errors="surrogateescape").write(text)
EOF
    if ! cmp -s "$work/linux/out/$step.even" "$work/windows/out/$step.even"; then
        differ "$project: the output of '$*'"
        diff "$work/linux/out/$step.even" "$work/windows/out/$step.even" | head -20 | sed 's/^/    /' || true
    fi
}

# Compares one file of both copies byte for byte; a WinHelp project (.hpj), which names its
# help file by full path, with the Windows run folder evened out, and a PO file without the
# minute it was exported in (the two runs may fall on both sides of a minute's end).
same_file() {
    local relative="$1"
    if [ ! -e "$work/linux/$relative" ] && [ ! -e "$work/windows/$relative" ]; then
        return
    fi
    if [[ "$relative" == *.hpj ]]; then
        python3 - "$work/windows/$relative" 'Z:'"${work//\//\\}"'\windows' "$work/linux" <<'EOF'
import sys
path, folder, linux = sys.argv[1:]
data = open(path, "rb").read()
start = data.find(folder.encode())
if start >= 0:  # the path up to the end of its line, in Linux separators
    end = data.find(b"\r\n", start)
    data = data[:start] + data[start:end].replace(folder.encode(), linux.encode()).replace(b"\\", b"/") + data[end:]
open(path, "wb").write(data)
EOF
    fi
    if [[ "$relative" == *.po ]]; then
        sed -i 's/^"PO-Revision-Date: [^\\]*\\n"$/"PO-Revision-Date: (the export'"'"'s time)\\n"/' \
            "$work/linux/$relative" "$work/windows/$relative"
    fi
    if ! cmp -s "$work/linux/$relative" "$work/windows/$relative"; then
        differ "$relative"
        cmp "$work/linux/$relative" "$work/windows/$relative" 2>&1 | head -2 | sed 's/^/    /' || true
    fi
}

# Compares every file inside both copies of a .chm, as the Linux chmls lists and extracts them.
same_chm() {
    local relative="$1" side
    for side in linux windows; do
        if [ ! -f "$work/$side/$relative" ]; then
            differ "$relative: not made by the $side build"
            return
        fi
        # The compiler's own bookkeeping (::DataSpace, empty system files) is left out.
        chmls -n list "$work/$side/$relative" 2>/dev/null | tr -d '\r' | grep '^/.' | grep -v '/$' |
            sort >"$work/$side/out/chm-list" || true
    done
    if ! cmp -s "$work/linux/out/chm-list" "$work/windows/out/chm-list"; then
        differ "$relative: the files inside"
        diff "$work/linux/out/chm-list" "$work/windows/out/chm-list" | head -10 | sed 's/^/    /' || true
    fi
    local name
    while read -r name; do
        case "$name" in */) continue ;; esac
        for side in linux windows; do
            chmls extract "$work/$side/$relative" "$name" "$work/$side/out/chm-entry" >/dev/null 2>&1 || true
        done
        if [ "$name" = /#SYSTEM ]; then # its first entry (code 10) is the compile's time of day
            for side in linux windows; do
                python3 - "$work/$side/out/chm-entry" <<'EOF'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
if data[4:8] == b"\x0a\x00\x04\x00":
    data[8:12] = bytes(4)
open(sys.argv[1], "wb").write(data)
EOF
            done
        fi
        if [ ! -f "$work/linux/out/chm-entry" ] && [ ! -f "$work/windows/out/chm-entry" ]; then
            echo "compare-windows: $relative: chmls extracts no '$name' from either" >&2
        elif ! cmp -s "$work/linux/out/chm-entry" "$work/windows/out/chm-entry"; then
            differ "$relative: $name (byte, Linux, Windows in octal:)"
            cmp -l "$work/linux/out/chm-entry" "$work/windows/out/chm-entry" 2>&1 | head -4 | sed 's/^/    /' || true
        fi
        rm -f "$work/linux/out/chm-entry" "$work/windows/out/chm-entry"
    done <"$work/linux/out/chm-list"
}

compare_project() {
    local project="$1" vbp="$2" source="$3" side
    for side in linux windows; do
        mkdir -p "$work/$side/out"
        cp -r "$source" "$work/$side/$project"
    done
    local start=$SECONDS
    run_both "$project-scan" "$project" scan "$vbp" --save
    run_both "$project-coverage" "$project" coverage "$vbp"
    run_both "$project-coverage-json" "$project" coverage "$vbp" --json
    run_both "$project-spell" "$project" spell "$vbp" --language English
    run_both "$project-export-xliff" "$project" export "$vbp" --language German -o German.xlf
    run_both "$project-export-po" "$project" export "$vbp" --language German --format po -o German.po
    run_both "$project-import" "$project" import "$vbp" German.xlf
    same_file "$project/ContextHelp.txt"
    run_both "$project-compile" "$project" compile "$vbp" --yes
    local file
    while read -r file; do
        same_file "$project/$file"
    done < <(cd "$work/linux/$project" && find . -type f ! -name '*.chm' | sed 's|^\./||' | sort)
    while read -r file; do
        same_chm "$project/$file"
    done < <(cd "$work/linux/$project" && find . -type f -name '*.chm' | sed 's|^\./||' | sort)
    echo "compare-windows: $project compared in $((SECONDS - start)) s" >&2
}

compare_project OrderEntry OrderEntry.vbp "$root/examples/OrderEntry"
python3 "$root/scripts/windows/synthetic_project.py" "$work/synthetic" "$forms"
compare_project Synthetic Synthetic.vbp "$work/synthetic"
for side in linux windows; do
    [ -f "$work/$side/settings.reg" ] || echo "(no settings file from the $side build)" >"$work/$side/settings.reg"
done
# The settings name folders, the run's and the build's: on Windows in their Windows form,
# written in the .reg file with doubled backslashes.
python3 - "$work/windows/settings.reg" 'Z:'"${work//\//\\}"'\windows' "$work/linux" \
    'Z:'"${root//\//\\}"'\build-windows' "$root/build" <<'EOF'
import re, sys
path, folder, linux, build, linuxBuild = sys.argv[1:]
text = open(path, encoding="utf-8", errors="surrogateescape", newline="").read()
for windows, posix in ((folder, linux), (build, linuxBuild)):
    escaped = windows.replace("\\", "\\\\")  # as the .reg file writes it
    # The folder and the rest of its path: doubled backslashes or characters but \ and ".
    pattern = re.escape(escaped) + r'(?:\\\\|[^"\\])*'
    text = re.sub(pattern, lambda m: posix + m.group(0)[len(escaped):].replace("\\\\", "/"), text)
open(path, "w", encoding="utf-8", errors="surrogateescape", newline="").write(text)
EOF
same_file settings.reg

# The data file the desktop editor saved after the same typed edits in the GUI tests of both
# builds (EditorWindow.UserEditsSortsGroupsSwitchesAndClosesWithTheCloseBox): byte for byte.
edited=edited/ContextHelp.txt
if [ -f "$root/build/$edited" ] && [ -f "$root/build-windows/$edited" ]; then
    cmp -s "$root/build/$edited" "$root/build-windows/$edited" ||
        differ "the data file the editor saved after the same edits ($edited)"
elif [ -f "$root/build-windows/bin/corvane-gui.exe" ]; then
    differ "no data file saved by the editor's GUI tests in both builds ($edited): run scripts/test.sh and scripts/test-windows.sh first"
fi

# The editor's picture of the example: the Linux program on Qt's offscreen platform, the
# Windows one on its own platform under Wine at a virtual X server; the same layout, fonts aside.
if [ -f "$root/build/bin/corvane-gui" ] && [ -f "$root/build-windows/bin/corvane-gui.exe" ]; then
    for side in linux windows; do
        mkdir -p "$work/$side/picture" && cp -r "$root/examples/OrderEntry" "$work/$side/picture/"
    done
    (cd "$work/linux/picture/OrderEntry" && QT_QPA_PLATFORM=offscreen CORVANE_REGISTRY="$work/linux/picture/settings.reg" \
        "$linux" edit OrderEntry.vbp --screenshot "$work/linux/editor.png" >"$work/linux/out/picture" 2>&1) ||
        differ "the Linux editor's picture: $(cat "$work/linux/out/picture")"
    (cd "$work/windows/picture/OrderEntry" && CORVANE_REGISTRY='Z:'"${work//\//\\}"'\windows\picture\settings.reg' \
        xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$windows" edit OrderEntry.vbp \
        --screenshot 'Z:'"${work//\//\\}"'\windows\editor.png' >"$work/windows/out/picture" 2>&1) ||
        differ "the Windows editor's picture: $(cat "$work/windows/out/picture")"
    if [ -f "$work/linux/editor.png" ] && [ -f "$work/windows/editor.png" ]; then
        python3 "$root/scripts/windows/screenshot_layout.py" "$work/linux/editor.png" "$work/windows/editor.png" ||
            differ "the editor's picture of OrderEntry.vbp"
    fi
else
    echo "compare-windows: no desktop program in both builds: the editor's pictures are not compared" >&2
fi

if ((differences)); then
    echo "compare-windows: $differences differences"
    exit 1
fi
echo "compare-windows: the Linux and the Windows build gave the same outputs"
