#!/usr/bin/env bash
# A plug-in must show a host its entry points and nothing else, so that two
# JUCE-based plug-ins in one host cannot bind to each other's symbols.
# Usage: check_exports.sh path/to/plugin.so name...
set -euo pipefail
plugin="${1:?usage: check_exports.sh path/to/plugin.so name...}"
shift
expected="$(printf '%s\n' "$@" | sort | tr '\n' ' ')"
exported="$(nm -D --defined-only "$plugin" | awk '{print $3}' | sort | tr '\n' ' ')"
echo "exported: $exported"
[ "$exported" = "$expected" ] || { echo "expected exactly: $expected"; exit 1; }
