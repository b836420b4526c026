#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane on the bundled example project.
# The example is copied to build/example first, so the repository's copy stays as it is.
# With a display and the desktop program built, the editor opens on it; otherwise the
# project is scanned and its help files are generated and compiled headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
# Only what runs here: the program, the HTML Help compiler front end and the data folder
# (scripts/test.sh builds the rest).
build="$("$root/scripts/build.sh" corvane corvane_hhc corvane_data | tail -n 1)"
work="$build/example"
rm -rf "$work"
cp -r "$root/examples/OrderEntry" "$work"
corvane="$build/bin/corvane"
if [ -n "${DISPLAY:-}" ] && [ -x "$build/bin/corvane-gui" ]; then
    exec "$corvane" edit "$work/OrderEntry.vbp"
fi
"$corvane" scan "$work/OrderEntry.vbp"
"$corvane" compile "$work/OrderEntry.vbp" --yes
