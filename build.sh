#!/usr/bin/env bash
# Installs what is missing and builds the plug-ins (Release).
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build -j "$jobs"

echo
echo "Built plug-ins:"
found=0
for so in build/adapters/vst/Quorvane2.so; do
    if [ -f "$so" ]; then
        echo "  VST2: $(realpath "$so")"
        echo "        install for this user: mkdir -p ~/.vst && cp '$(realpath "$so")' ~/.vst/"
        found=1
    fi
done
au=build/adapters/au/Quorvane2AU.so
if [ -f "$au" ]; then
    echo "  Audio Unit: $(realpath "$au") (with build/platform/libqv_platform.so; for hosts of"
    echo "        our own: there is no Audio Unit host on Linux, see README)"
    found=1
fi
so=build/adapters/aax/Quorvane2_AAX.so
if [ -f "$so" ]; then
    echo "  AAX:  $(realpath "$so") (no AAX host runs on Linux: the tests' simulated host loads it)"
    found=1
fi
[ "$found" = 1 ] || echo "  (none yet)"
if [ -x build/bench/qv_bench ]; then
    echo "Benchmarks: build/bench/qv_bench"
fi
