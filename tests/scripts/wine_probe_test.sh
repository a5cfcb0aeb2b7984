#!/usr/bin/env bash
# The Wine probe's three answers, with stand-in `wine` programs and loaders
# first on PATH: runs (0), a kernel that refuses 32-bit code (3), and a Wine
# that is missing or broken otherwise (1), each with its reason.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# fake NAME EXIT-STATUS MESSAGE: a program that says MESSAGE and exits so.
fake() {
    mkdir -p "$(dirname "$1")"
    printf '#!/bin/sh\necho "%s" >&2\nexit %s\n' "$3" "$2" >"$1"
    chmod +x "$1"
}
refused="cannot execute binary file: Exec format error"
fake "$work/runs/wine" 0 "wine-8.0 (Debian 8.0~repack-4)"
fake "$work/refused/wine" 126 "/usr/lib/wine/wine: $refused"
fake "$work/broken/wine" 1 "wine: could not load kernel32.dll, status c0000135"
fake "$work/loader-refused" 126 "$refused"
fake "$work/loader-runs" 0 "wine-8.0"
mkdir -p "$work/none"
for tool in grep head timeout; do ln -s "$(command -v "$tool")" "$work/none/$tool"; done

failures=0
# case NAME PATH LOADER EXPECTED-STATUS EXPECTED-WORDS
case_() {
    local got why
    got=$(PATH="$2" WINE_PROBE_LOADER="$3" "$BASH" -c \
        '. "$0/scripts/wine_env.sh"; wine_probe; s=$?; echo "$s $WINE_PROBE_WHY"' "$root")
    why="${got#* }"
    if [ "${got%% *}" != "$4" ] || ! grep -q -- "$5" <<<"$why"; then
        echo "FAIL $1: got [$got], expected status $4 with \"$5\""
        failures=$((failures + 1))
    else
        echo "ok   $1: $got"
    fi
}
sys="/usr/bin:/bin"
case_ "wine runs"              "$work/runs:$sys"    "$work/loader-runs"    0 ""
case_ "wine refused by kernel" "$work/refused:$sys" "$work/none/missing"   3 "Exec format error"
case_ "loader refused"         "$work/runs:$sys"    "$work/loader-refused" 3 "cannot run 32-bit x86 code"
case_ "wine broken"            "$work/broken:$sys"  "$work/loader-runs"    1 "broken.*kernel32"
case_ "wine missing"           "$work/none"         "$work/none/missing"   1 "not installed"
[ "$failures" -eq 0 ]
