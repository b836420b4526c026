#!/usr/bin/env bash
# Checks that every #include between the folders of src/ and every link between their
# libraries points down a layer.
# Usage: scripts/check-layers.sh [--graph] [SRC]
#   SRC      the source folder (default: src/ of this repository)
#   --graph  prints the include graph between the folders instead, one line per folder,
#            from the top layer down: "layer N  folder -> included folders"
# A file may include headers of its own folder and of folders on lower layers. An include of a
# folder on the same layer or above is printed as "FILE:LINE: FOLDER (layer N) includes OTHER
# (layer M)"; a library corvane_FOLDER that links one of the same layer or above, as
# "CMAKEFILE:LINE: corvane_FOLDER (layer N) links corvane_OTHER (layer M)". Exit status: 0 when
# every include and link points down, 1 when one does not, 2 for a folder of SRC that has no
# layer below (place it there) or wrong usage.
set -euo pipefail

# The layers, lowest first; the folders of one layer do not include each other.
layers=(
    "platform vbaddin"
    "vbruntime"
    "files"
    "text process"
    "xml registry spelling"
    "controls vbide"
    "addin preview exchange"
    "helpdata"
    "settings ownhelp scan generate"
    "editor"
    "connect"
    "cli tools"
    "app"
    "main"
)

graph=false
src="$(cd "$(dirname "$0")/.." && pwd)/src"
for argument in "$@"; do
    case "$argument" in
    --graph) graph=true ;;
    -*) echo "usage: $0 [--graph] [SRC]" >&2; exit 2 ;;
    *) src="$argument" ;;
    esac
done
if [ ! -d "$src" ]; then
    echo "check-layers: no folder '$src'" >&2
    exit 2
fi

# "folder layer" pairs for awk.
layer_table=""
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do layer_table+="$folder $((i + 1))"$'\n'; done
done

unplaced=()
for dir in "$src"/*/; do
    folder="$(basename "$dir")"
    grep -qx "$folder [0-9]*" <<<"$layer_table" || unplaced+=("$folder")
done
if ((${#unplaced[@]})); then
    echo "check-layers: folders without a layer: ${unplaced[*]} (add them to $0)" >&2
    exit 2
fi

# Every quoted include whose first path part is a folder with a layer, as FILE:LINE:TEXT.
includes="$(cd "$src" && grep -rnE --include='*.h' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' -- */ || true)"

present="$(cd "$src" && ls -d */ | tr -d / | tr '\n' ' ')"
status=0
awk -v graph="$graph" -v src="$src" -v table="$layer_table" -v present="$present" '
BEGIN {
    n = split(table, rows, "\n")
    for (i = 1; i <= n; i++) {
        if (split(rows[i], pair, " ") == 2) {
            layer[pair[1]] = pair[2] + 0
            if (pair[2] + 0 > top) top = pair[2] + 0
        }
    }
    split(present, folders, " ")
    for (i in folders) exists[folders[i]] = 1
    bad = 0
}
$0 != "" {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    target = rest; sub(/^[^"]*"/, "", target); sub(/\/.*/, "", target)
    from = file; sub(/\/.*/, "", from)
    if (!(target in layer) || target == from) next
    if (!((from, target) in edge)) { edge[from, target] = 1; targets[from] = targets[from] " " target }
    if (layer[target] >= layer[from]) {
        message = sprintf("%s/%s:%s: %s (layer %d) includes %s (layer %d)", src, file, line, from, layer[from], target, layer[target])
        # The graph goes to standard output alone.
        if (graph == "true") print message > "/dev/stderr"; else print message
        bad = 1
    }
}
END {
    if (graph == "true") {
        for (l = top; l >= 1; l--) {
            # The folders of a layer in a stable order.
            count = 0
            for (f in layer) if (layer[f] == l && (f in exists)) names[++count] = f
            for (i = 2; i <= count; i++)
                for (j = i; j > 1 && names[j - 1] > names[j]; j--) { t = names[j]; names[j] = names[j - 1]; names[j - 1] = t }
            for (i = 1; i <= count; i++) {
                m = split(targets[names[i]], list, " ")
                for (a = 2; a <= m; a++)
                    for (b = a; b > 1 && list[b - 1] > list[b]; b--) { t = list[b]; list[b] = list[b - 1]; list[b - 1] = t }
                out = ""
                for (a = 1; a <= m; a++) out = out (a > 1 ? " " : "") list[a]
                printf "layer %-2d %-9s ->%s\n", l, names[i], (out == "" ? "" : " " out)
            }
            delete names
        }
    }
    exit bad
}' <<<"$includes" || status=$?

# The libraries follow the same order: corvane_FOLDER links only the libraries of folders on
# lower layers (target_link_libraries in SRC/CMakeLists.txt and SRC/*/CMakeLists.txt).
cmake_files=()
for file in "$src"/CMakeLists.txt "$src"/*/CMakeLists.txt; do
    [ -f "$file" ] && cmake_files+=("$file")
done
if ((${#cmake_files[@]})); then
    awk -v graph="$graph" -v table="$layer_table" '
    BEGIN {
        n = split(table, rows, "\n")
        for (i = 1; i <= n; i++)
            if (split(rows[i], pair, " ") == 2) layer["corvane_" pair[1]] = pair[2] + 0
        bad = 0
    }
    FNR == 1 { inside = 0 }
    {
        text = $0
        sub(/#.*/, "", text)
        if (!inside && match(text, /target_link_libraries[ \t]*\(/)) {
            inside = 1
            target = ""
            text = substr(text, RSTART + RLENGTH)
        }
        if (!inside) next
        closing = index(text, ")")
        if (closing) text = substr(text, 1, closing - 1)
        count = split(text, words, /[ \t]+/)
        for (i = 1; i <= count; i++) {
            if (words[i] == "") continue
            if (target == "") { target = words[i]; continue }
            if (!(target in layer) || !(words[i] in layer) || words[i] == target) continue
            if (layer[words[i]] >= layer[target]) {
                message = sprintf("%s:%d: %s (layer %d) links %s (layer %d)", FILENAME, FNR, target,
                                  layer[target], words[i], layer[words[i]])
                if (graph == "true") print message > "/dev/stderr"; else print message
                bad = 1
            }
        }
        if (closing) inside = 0
    }
    END { exit bad }' "${cmake_files[@]}" || status=$?
fi

# Inside the desktop program (one library) its sub-folders keep the same rule, lowest first: the
# views over the control models, then the editor window's parts and the layout preview, then the
# host window and the program. An include that points up or across is printed as
# "FILE:LINE: app/FOLDER (inner layer N) includes app/OTHER (inner layer M)".
app_layers=("views" "editor preview" "host")
if [ -d "$src/app" ] && [ "$graph" != true ]; then
    declare -A app_layer=()
    for i in "${!app_layers[@]}"; do
        for folder in ${app_layers[$i]}; do app_layer[$folder]=$((i + 1)); done
    done
    for dir in "$src"/app/*/; do
        from="$(basename "$dir")"
        if [ -z "${app_layer[$from]:-}" ]; then
            echo "check-layers: app/$from has no inner layer (add it to $0)" >&2
            exit 2
        fi
        while IFS=: read -r file line text; do
            [ -n "$file" ] || continue
            target="${text#*\"app/}"
            target="${target%%/*}"
            [ "$target" = "$from" ] || [ -z "${app_layer[$target]:-}" ] && continue
            if ((app_layer[$target] >= app_layer[$from])); then
                echo "$file:$line: app/$from (inner layer ${app_layer[$from]}) includes app/$target (inner layer ${app_layer[$target]})"
                status=1
            fi
        done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/[^"/]+/' -- "$dir" || true)
    done
fi
exit "$status"
