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
    libxtst-dev  # the editor tests, built by default, move the pointer through the X server
    libgtest-dev libgmock-dev libbenchmark-dev
)

tests=0
[ "${1:-}" = "--tests" ] && tests=1
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# Every test must find what it needs here: a test that skips for want of a
# package fails the run under CI.
if [ "$tests" = 1 ]; then
    packages+=(
        xvfb xauth fonts-dejavu-core  # GUI tests under a virtual display
        fonts-dejavu-extra            # DejaVuSans-ExtraLight.ttf, a face with a kerning table
        clang libclang-rt-14-dev      # the state fuzzer
        ardour                        # a real VST2 host for the end-to-end test
        python3                       # checks the audio Ardour exports
        locales                       # a comma-decimal locale, generated below
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
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Texts handed to hosts must not follow the process's locale; the tests check
# that under de_DE.UTF-8, whose decimal separator is a comma. It is listed in
# /etc/locale.gen, so that the locales package's own regeneration keeps it.
comma_locale=de_DE.UTF-8
if [ "$tests" = 1 ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the $comma_locale locale"
    if grep -qE "^# *$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
        $SUDO sed -i -E "s/^# *($comma_locale UTF-8)/\1/" /etc/locale.gen
    else
        echo "$comma_locale UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen
fi
