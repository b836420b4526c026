#!/usr/bin/env bash
# Configures and builds Corvane. Usage: scripts/build.sh [--sanitize]
# Builds into build/ (or build-sanitize/ with --sanitize).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-sanitize"
    options=(-DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF)
fi
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$build/CMakeCache.txt" ] && generator=()
# Progress and errors go to standard error; standard output gets only the build folder.
cmake -S "$root" -B "$build" "${generator[@]}" "${options[@]}" >&2
cmake --build "$build" -j"$(nproc)" >&2
echo "$build"
