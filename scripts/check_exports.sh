#!/usr/bin/env bash
# Checks that a plug-in exports exactly the shell's three entry points, by
# their plain names: no @N decoration, no extra or nameless exports.
#   scripts/check_exports.sh Vorlamet.plg
set -euo pipefail
plg="$1"
dump=$(i686-w64-mingw32-objdump -p "$plg")
names=$(printf '%s\n' "$dump" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort | tr '\n' ' ')
addresses=$(printf '%s\n' "$dump" | sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' |
    grep -c 'Export RVA' || true)
expected="DoneModule GetPluginInfo InitGlobalModule "
if [ "$names" != "$expected" ] || [ "$addresses" != 3 ]; then
    echo "check_exports: $plg exports [${names% }] ($addresses addresses); expected [${expected% }] (3)" >&2
    exit 1
fi
echo "check_exports: $plg exports ${names% }"
