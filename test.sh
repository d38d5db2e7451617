#!/usr/bin/env bash
# Installs what is missing, builds what the tests need and runs every test:
# the Release tree, then the AddressSanitizer/UndefinedBehaviorSanitizer tree.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh

jobs=$(nproc)
status=0

run_ctest() {
    # GUI tests need a display; Xvfb gives every run its own.
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 600 "${@:2}"
}

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build -j "$jobs"
run_ctest build || status=1

echo "== Sanitizer build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON >/dev/null
ninja -C build-asan -j "$jobs"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_ctest build-asan || status=1

if [ -x tests/fuzz/run.sh ]; then
    echo "== Fuzzing (bounded)"
    tests/fuzz/run.sh || status=1
fi

exit $status
