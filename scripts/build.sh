#!/usr/bin/env bash
# Configures and builds Corvane. Usage: scripts/build.sh [--sanitize] [TARGET...]
# Builds into build/ (or build-sanitize/ with --sanitize): every target, or only the ones named.
# CORVANE_WERROR=ON in the environment makes compiler warnings errors (CI sets it); the
# value is passed on every run, so an existing build folder follows it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
werror=(-DCORVANE_WERROR="${CORVANE_WERROR:-OFF}")
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-sanitize"
    options=(-DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF)
    shift
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$build/CMakeCache.txt" ] && generator=()
# Progress and errors go to standard error; standard output gets only the build folder.
cmake -S "$root" -B "$build" "${generator[@]}" "${options[@]}" "${werror[@]}" >&2
cmake --build "$build" -j"$(nproc)" "${targets[@]}" >&2
echo "$build"
