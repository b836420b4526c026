#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$("$root/scripts/build.sh" "$@" | tail -n 1)"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$build/xdg-runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
