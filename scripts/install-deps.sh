#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config clang
    libgtest-dev libgmock-dev
    libpugixml-dev libmimalloc-dev
    gettext translate-toolkit
    qt6-base-dev qt6-qpa-plugins
    libhunspell-dev hunspell-en-us hunspell-de-de
    fp-utils libchm-dev libchm-bin
    xvfb xauth
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
