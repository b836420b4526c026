#!/usr/bin/env bash
# Feeds scripts/check-layers.sh small source trees in a temporary folder: one whose includes
# and libraries all point down, one with an include up a layer, one with an include across a
# layer, one whose library links one across a layer, one with a folder that has no layer, and
# the desktop program's sub-folders in their own order. Usage: check_layers_test.sh CHECK_LAYERS_SCRIPT
set -uo pipefail
check="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A tree of vbruntime/, helpdata/, scan/, generate/ and editor/ whose includes point down.
make_tree() {
    local tree="$1"
    mkdir -p "$tree"/{vbruntime,helpdata,scan,generate,editor}
    printf '#pragma once\n#include <string>\n' >"$tree/vbruntime/Text.h"
    printf '#include "helpdata/Record.h"\n#include "vbruntime/Text.h"\n#include "chm_lib.h"\n' \
        >"$tree/helpdata/Record.cpp"
    printf '#pragma once\n#include "vbruntime/Text.h"\n' >"$tree/helpdata/Record.h"
    printf '#include "helpdata/Record.h"\n' >"$tree/scan/Merge.cpp"
    printf '#include "helpdata/Record.h"\n' >"$tree/generate/Writer.cpp"
    printf '#include "generate/Writer.h"\n#include "scan/Merge.h"\n' >"$tree/editor/Window.cpp"
    cat >"$tree/CMakeLists.txt" <<'CMAKE'
corvane_library(corvane_editor editor)
target_link_libraries(corvane_editor
    PUBLIC corvane_scan corvane_vbruntime # corvane_editor would be no fault either
    PRIVATE corvane_generate)
target_link_libraries(corvane_scan PUBLIC corvane_helpdata corvane_vbruntime Threads::Threads)
add_library(corvane_system INTERFACE)
target_link_libraries(corvane_system INTERFACE corvane_editor corvane_scan)
CMAKE
}

# run TREE [ARGS...]: the check's standard output in $out, its status in $status.
run() {
    local tree="$1"
    shift
    out="$("$check" "$@" "$tree" 2>"$root/stderr")"
    status=$?
}

make_tree "$root/down"
run "$root/down"
[ "$status" -eq 0 ] || fail "a tree whose includes point down failed with $status: $out"
[ -z "$out" ] || fail "a sound tree printed: $out"

run "$root/down" --graph
grep -qx 'layer 10 editor    -> generate scan' <<<"$out" || fail "graph lacks the editor's line: $out"
grep -qx 'layer 8  helpdata  -> vbruntime' <<<"$out" || fail "graph lacks helpdata's line: $out"
[ "$(head -n 1 <<<"$out")" = 'layer 10 editor    -> generate scan' ] || fail "graph does not start at the top: $out"

make_tree "$root/up"
printf '#include "vbruntime/Text.h"\n#include "editor/Window.h"\n' >"$root/up/helpdata/Load.cpp"
run "$root/up"
[ "$status" -eq 1 ] || fail "an include up a layer gave status $status"
[ "$out" = "$root/up/helpdata/Load.cpp:2: helpdata (layer 8) includes editor (layer 10)" ] ||
    fail "an include up a layer printed: $out"
run "$root/up" --graph
[ "$status" -eq 1 ] || fail "--graph over an include up a layer gave status $status"
grep -q 'Load.cpp:2: helpdata (layer 8) includes editor (layer 10)' "$root/stderr" ||
    fail "--graph did not name the include up a layer on standard error"

make_tree "$root/across"
printf '#pragma once\n#include "generate/Writer.h"\n' >"$root/across/scan/Merge.h"
run "$root/across"
[ "$status" -eq 1 ] || fail "an include across a layer gave status $status"
[ "$out" = "$root/across/scan/Merge.h:2: scan (layer 9) includes generate (layer 9)" ] ||
    fail "an include across a layer printed: $out"

make_tree "$root/links"
printf 'target_link_libraries(corvane_generate PUBLIC corvane_helpdata\n    PRIVATE corvane_scan)\n' \
    >>"$root/links/CMakeLists.txt"
run "$root/links"
[ "$status" -eq 1 ] || fail "a library linking one across a layer gave status $status"
[ "$out" = "$root/links/CMakeLists.txt:9: corvane_generate (layer 9) links corvane_scan (layer 9)" ] ||
    fail "a library linking one across a layer printed: $out"

make_tree "$root/unplaced"
mkdir "$root/unplaced/gadgets"
run "$root/unplaced"
[ "$status" -eq 2 ] || fail "a folder without a layer gave status $status"
grep -q 'folders without a layer: gadgets' "$root/stderr" || fail "the unplaced folder was not named"

# The desktop program's sub-folders: the views below the editor's parts and the preview, the host
# window on top.
make_tree "$root/app"
mkdir -p "$root/app/app"/{views,editor,preview,host}
printf '#pragma once\n#include "vbruntime/Text.h"\n' >"$root/app/app/views/FormView.h"
printf '#include "app/views/FormView.h"\n' >"$root/app/app/editor/Filter.cpp"
printf '#include "app/editor/Filter.h"\n#include "app/views/FormView.h"\n' >"$root/app/app/host/Program.cpp"
run "$root/app"
[ "$status" -eq 0 ] || fail "app folders whose includes point down failed with $status: $out"
printf '#include "app/views/FormView.h"\n#include "app/preview/Canvas.h"\n' >"$root/app/app/editor/Find.cpp"
printf '#include "app/host/Program.h"\n' >"$root/app/app/views/Icons.cpp"
run "$root/app"
[ "$status" -eq 1 ] || fail "app folders with includes up and across gave status $status"
expected="$root/app/app/editor/Find.cpp:2: app/editor (inner layer 2) includes app/preview (inner layer 2)
$root/app/app/views/Icons.cpp:1: app/views (inner layer 1) includes app/host (inner layer 3)"
[ "$(sort <<<"$out")" = "$(sort <<<"$expected")" ] || fail "app folders with includes up and across printed: $out"
mkdir "$root/app/app/widgets"
run "$root/app"
[ "$status" -eq 2 ] || fail "an app folder without an inner layer gave status $status"
grep -q 'app/widgets has no inner layer' "$root/stderr" || fail "the unplaced app folder was not named"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "check-layers: every case behaved"
