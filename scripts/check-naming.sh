#!/usr/bin/env bash
# Checks the naming rule (.clang-tidy, described in the README's Conventions) on every source
# file of src/. Usage: scripts/check-naming.sh [BUILD_DIR]   (default: build/, configured by
# scripts/build.sh: clang-tidy reads the compile commands there). Prints each offending name
# once with its place, and exits 1 when there is one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
# clang-tidy 16 or later reads the C++20 of GCC 12's library (std::source_location).
tidy="$(command -v clang-tidy-16 || command -v clang-tidy || true)"
if [ -z "$tidy" ]; then
    echo "check-naming: clang-tidy is not installed (scripts/install-deps.sh installs it)" >&2
    exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
    echo "check-naming: no compile_commands.json in $build (run scripts/build.sh first)" >&2
    exit 2
fi
output="$(mktemp)"
report="$(mktemp)"
trap 'rm -f "$output" "$report"' EXIT
# src/vbaddin/ is the VB6 add-in, built only for Windows: the Linux build's compile commands
# do not hold it, and clang-tidy cannot read its Windows headers here.
files=$(find "$root/src/" -name '*.cpp' -not -path "$root/src/vbaddin/*" | wc -l)
# GCC's own warning options are unknown to clang: they must not count as findings.
find "$root/src/" -name '*.cpp' -not -path "$root/src/vbaddin/*" -print0 | sort -z |
    xargs -0 -P"$(nproc)" -n4 "$tidy" -p "$build" --quiet --config-file="$root/.clang-tidy" \
        --extra-arg=-Wno-unknown-warning-option >"$output" 2>&1 || true
# A file clang-tidy could not compile is checked by no one: that fails the check too.
if grep -E ': error: ' "$output" | grep -v 'readability-identifier-naming' | grep -q .; then
    grep -E ': error: ' "$output" | grep -v 'readability-identifier-naming' | sort -u >&2
    echo "check-naming: clang-tidy could not read every file" >&2
    exit 2
fi
grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error): .*\[readability-identifier-naming' "$output" |
    sed -E 's/ \[readability-identifier-naming.*\]$//; s/: (warning|error): /: /' | sort -u >"$report" || true
if [ -s "$report" ]; then
    sed "s|^$root/||" "$report"
    echo "check-naming: $(wc -l <"$report") name(s) break the naming rule (README, Conventions)" >&2
    exit 1
fi
echo "check-naming: every name in the $files source files of src/ follows the naming rule"
