#!/usr/bin/env bash
# Installs what is missing, builds what the tests need and runs every test:
# the Release tree, then the AddressSanitizer/UndefinedBehaviorSanitizer tree,
# then the tests that drive the plug-in from several threads at once under
# ThreadSanitizer, then a bounded run of the state fuzzer.
#
# A test that did not run is counted as skipped, not passed, and named in the
# summary. Under CI (CI=true) a skip fails the run unless the test is on
# allowed_skips: tools/install-deps.sh --tests installs everything the tests
# need, so a skip there means a missing install step or a broken check.
set -uo pipefail
cd "$(dirname "$0")"

# Skips CI accepts, one "test name|why it cannot run on a Linux CI machine"
# each. A skip that a Debian package cures belongs in tools/install-deps.sh.
allowed_skips=(
)

tools/install-deps.sh --tests || exit 1

ci=0
[ "${CI:-}" = true ] && ci=1

jobs=$(nproc)
status=0
passed=0
failed=0
skipped=0
failed_names=()
skipped_names=()

fail() {
    failed=$((failed + 1))
    failed_names+=("$1")
    status=1
}

# A test that did not run ($1: where, $2: its name): skipped, or under CI a
# failure unless it is on allowed_skips.
note_skip() {
    local entry
    for entry in ${allowed_skips[@]+"${allowed_skips[@]}"}; do
        if [ "${entry%%|*}" = "$2" ]; then
            skipped=$((skipped + 1))
            skipped_names+=("$1: $2 (allowed: ${entry#*|})")
            return
        fi
    done
    if [ "$ci" = 1 ]; then
        fail "$1: $2 (skipped, which CI does not allow)"
    else
        skipped=$((skipped + 1))
        skipped_names+=("$1: $2")
    fi
}

# The names in one of ctest's closing lists ("The following tests did not
# run:", "... FAILED:"), one per line with their status in brackets.
ctest_list() {
    awk -v head="$2" '
        $0 == head { on = 1; next }
        on && !/^[[:space:]]+[0-9]+ - / { on = 0 }
        on { sub(/^[[:space:]]+[0-9]+ - /, ""); print }' "$1"
}

# Runs ctest on one tree under Xvfb (GUI tests need a display) and adds its
# counts to the totals ($1: label, $2: build tree). The server must not reset
# when its last client leaves: a reset drops every connection that arrives
# meanwhile, so a test starting just as another ends would find no display.
run_ctest() {
    local log rc line total nfail nskip=0 name
    log=$(mktemp)
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$2" --output-on-failure --no-tests=error -j "$jobs" --timeout 600 "${@:3}" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    # ctest counts skipped tests in its total (not disabled ones), and failed
    # tests both in the total and in its failed count.
    while IFS= read -r line; do
        name=${line% (*}
        case "$line" in
            *"(Skipped)") nskip=$((nskip + 1)); note_skip "$1" "$name" ;;
            *"(Disabled)") note_skip "$1" "$name" ;;
        esac
    done < <(ctest_list "$log" "The following tests did not run:")
    while IFS= read -r line; do
        failed_names+=("$1: $line")
    done < <(ctest_list "$log" "The following tests FAILED:")
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$line" ]; then
        nfail=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - nfail - nskip))
        failed=$((failed + nfail))
    elif [ "$rc" -ne 0 ]; then
        fail "$1: ctest ended with status $rc"
    fi
    rm -f "$log"
    [ "$rc" -eq 0 ] || status=1
}

build_tree() {
    cmake -S . -B "$1" -G Ninja "${@:2}" >/dev/null && ninja -C "$1" -j "$jobs"
}

echo "== Release build and tests"
if build_tree build -DCMAKE_BUILD_TYPE=Release; then
    run_ctest Release build
else
    echo "Release build FAILED"; fail "Release: build"
fi

echo "== Sanitizer build and tests"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if build_tree build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON; then
    run_ctest Sanitizer build-asan
else
    echo "Sanitizer build FAILED"; fail "Sanitizer: build"
fi

echo "== Thread sanitizer build and the threaded tests"
# Only what runs the plug-in from several threads at once: hosts' parameter,
# text and state calls against the audio thread, the lists and counters the
# host-interface layers share between threads, and the platform stand-ins'
# atomic operations, once-only initialisation and reference counts (the
# platform library is built with the sanitizer too, so that it sees their
# barriers). Tests that start threads carry Threads or Concurrent in their
# names.
threaded_targets=(qv_engine_tests qv_processor_tests qv_vst_plugin_tests qv_vst_wrapper_tests qv_aax_adapter_module_tests
                  qv_platform_tests qv_au_base_tests qv_au_plugin_tests qv_au_adapter_tests)
threaded_tests='ThreadedHostTest|Concurrent|Threads'
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
if cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE_THREAD=ON >/dev/null \
    && ninja -C build-tsan -j "$jobs" "${threaded_targets[@]}"; then
    run_ctest Threads build-tsan -R "$threaded_tests"
else
    echo "Thread sanitizer build FAILED"; fail "Threads: build"
fi

echo "== State fuzzer (bounded)"
tests/fuzz/run.sh
case $? in
    0) passed=$((passed + 1)) ;;
    77) note_skip Fuzzer state_fuzzer ;;
    *) fail "Fuzzer: state_fuzzer" ;;
esac

echo
if [ ${#skipped_names[@]} -gt 0 ]; then
    echo "skipped:"
    printf '  %s\n' "${skipped_names[@]}"
fi
if [ ${#failed_names[@]} -gt 0 ]; then
    echo "failed:"
    printf '  %s\n' "${failed_names[@]}"
fi
echo "all: $passed passed, $failed failed, $skipped skipped"
exit $status
