#!/usr/bin/env bash
# Installs what is missing, builds what the tests need and runs every test:
# the Release tree, then the AddressSanitizer/UndefinedBehaviorSanitizer tree,
# then a bounded run of the state fuzzer.
set -uo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh --tests || exit 1

jobs=$(nproc)
status=0
passed=0
failed=0

# Runs ctest on one tree under Xvfb (GUI tests need a display) and adds its
# counts to the totals.
run_ctest() {
    local log
    log=$(mktemp)
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 600 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$line" ]; then
        local total nfail
        nfail=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - nfail))
        failed=$((failed + nfail))
    elif [ "$rc" -ne 0 ]; then
        failed=$((failed + 1))
    fi
    rm -f "$log"
    [ "$rc" -eq 0 ] || status=1
}

build_tree() {
    cmake -S . -B "$1" -G Ninja "${@:2}" >/dev/null && ninja -C "$1" -j "$jobs"
}

echo "== Release build and tests"
if build_tree build -DCMAKE_BUILD_TYPE=Release; then
    run_ctest build
else
    echo "Release build FAILED"; status=1; failed=$((failed + 1))
fi

echo "== Sanitizer build and tests"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if build_tree build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON; then
    run_ctest build-asan
else
    echo "Sanitizer build FAILED"; status=1; failed=$((failed + 1))
fi

echo "== State fuzzer (bounded)"
if [ -x tests/fuzz/run.sh ]; then
    if tests/fuzz/run.sh; then passed=$((passed + 1)); else status=1; failed=$((failed + 1)); fi
fi

echo
echo "all: $passed passed, $failed failed"
exit $status
