#!/usr/bin/env bash
# The plug-in must show a host its two entry points and nothing else, so that
# two JUCE-based plug-ins in one host cannot bind to each other's symbols.
set -euo pipefail
plugin="${1:?usage: check_exports.sh path/to/Quorvane2.so}"
exported="$(nm -D --defined-only "$plugin" | awk '{print $3}' | sort | tr '\n' ' ')"
echo "exported: $exported"
[ "$exported" = "VSTPluginMain main_macho " ] || { echo "expected exactly VSTPluginMain and main_macho"; exit 1; }
