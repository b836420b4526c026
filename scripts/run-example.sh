#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane on the bundled example project.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$("$root/scripts/build.sh" | tail -n 1)"
"$build/bin/corvane" --help
