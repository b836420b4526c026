#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when any is missing.
# Usage: scripts/install-deps.sh [--fuzz] [--naming] [--xvfb]
#   --fuzz   also clang, for the libFuzzer targets (-DCORVANE_BUILD_FUZZ=ON)
#   --naming also clang-tidy, for the naming rule's check (scripts/check-naming.sh)
#   --xvfb   also a virtual X server, a window manager and xdotool, for pictures and the
#            user test under a real X display
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev
    libpugixml-dev libexpat1-dev libmimalloc-dev
    gettext translate-toolkit
    qt6-base-dev qt6-qpa-plugins libxkbcommon-dev
    libhunspell-dev hunspell-en-us hunspell-de-de
    libuchardet-dev
    fp-utils libchm-dev
)
for option in "$@"; do
    case "$option" in
    --fuzz) packages+=(clang) ;;
    --naming) packages+=(clang-tidy-16) ;;
    --xvfb) packages+=(xvfb xauth openbox xdotool x11-utils) ;;
    *) echo "usage: $0 [--fuzz] [--naming] [--xvfb]" >&2; exit 2 ;;
    esac
done
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
((${#missing[@]})) || exit 0
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages. Run this script as root, or install: ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing ${#missing[@]} packages and what they need: ${missing[*]}"
echo "(a few hundred MB on a fresh Debian 12 machine; apt shows its progress below)"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends \
    -o Dpkg::Progress-Fancy=0 "${missing[@]}"
