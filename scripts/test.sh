#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
# Qt programs (also the test discovery during the build) run without a display.
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/corvane-xdg-runtime-$(id -u)"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
build="$("$root/scripts/build.sh" "$@" | tail -n 1)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
