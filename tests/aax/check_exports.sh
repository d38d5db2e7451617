#!/usr/bin/env bash
# An AAX plug-in shows a host its seven entry points and nothing else.
set -euo pipefail
plugin="${1:?usage: check_exports.sh path/to/plugin.so}"
exported="$(nm -D --defined-only "$plugin" | awk '{print $3}' | sort | tr '\n' ' ')"
expected="ACFCanUnloadNow ACFGetClassFactory ACFGetSDKVersion ACFRegisterComponent ACFRegisterPlugin ACFShutdown ACFStartup "
echo "exported: $exported"
[ "$exported" = "$expected" ] || { echo "expected exactly: $expected"; exit 1; }
