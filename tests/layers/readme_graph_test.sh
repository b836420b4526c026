#!/usr/bin/env bash
# The include graph in the README's Layout is the one scripts/check-layers.sh --graph prints
# for src/. Usage: readme_graph_test.sh REPOSITORY_ROOT
set -euo pipefail
root="$1"
if ! diff -u <(sed -n '/^layer [0-9]* *main /,/^```/{/^```/!p}' "$root/README.md") \
    <("$root/scripts/check-layers.sh" --graph "$root/src"); then
    echo "README.md's include graph differs from scripts/check-layers.sh --graph (above)" >&2
    exit 1
fi
