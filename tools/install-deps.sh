#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build (and, with --tests,
# the test run) needs and this machine lacks. Safe to run again: it does
# nothing when all is present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    juce-modules-source-data
    libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev
    libgtest-dev libgmock-dev libbenchmark-dev
)

if [ "${1:-}" = "--tests" ]; then
    packages+=(
        xvfb xauth fonts-dejavu-core  # GUI tests under a virtual display
        clang libclang-rt-14-dev      # the state fuzzer
        ardour                        # a real VST2 host for the end-to-end test
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        SUDO=sudo
    else
        SUDO=
    fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
