#!/usr/bin/env bash
# Builds the libFuzzer target for the state loader with clang (ASan, UBSan) and
# runs it for a bounded time from a corpus of saved states. Exits 77 (skipped)
# when clang is not installed.
#
#   QV_FUZZ_SECONDS  run time in seconds (default 60)
#   QV_FUZZ_BUILD    build folder (default build-fuzz at the top of the tree)
#   QV_FUZZ_JOBS     parallel build jobs (default 4)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)

if ! command -v clang++ >/dev/null 2>&1 || ! command -v clang >/dev/null 2>&1; then
    echo "SKIP: clang not installed"
    exit 77
fi

build=${QV_FUZZ_BUILD:-$root/build-fuzz}
seconds=${QV_FUZZ_SECONDS:-60}
jobs=${QV_FUZZ_JOBS:-4}

CC=clang CXX=clang++ cmake -S "$root/tests/fuzz/libfuzzer" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j "$jobs" qv_state_fuzzer qv_state_seeds

corpus="$build/corpus"
mkdir -p "$corpus"
"$build/qv_state_seeds" "$corpus"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# A fixed seed; the corpus kept in the build folder carries coverage over runs.
# The fuzzer's own chatter goes to a log; a finding prints the log's tail.
# One input takes milliseconds; the per-input limit is there to catch a hang
# and is wide enough that a loaded machine never trips it.
log="$build/fuzz.log"
if "$build/qv_state_fuzzer" -seed=1 -max_total_time="$seconds" -timeout=120 \
    -rss_limit_mb=2048 -max_len=16384 -artifact_prefix="$build/" -print_final_stats=1 \
    "$corpus" >"$log" 2>&1; then
    echo "state fuzzer: $(grep -m1 '^Done' "$log")"
else
    tail -n 60 "$log"
    echo "state fuzzer: FAILED (see $log)"
    exit 1
fi
