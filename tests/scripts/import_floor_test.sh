#!/usr/bin/env bash
# The import floor check fails, naming the function and its library, on a
# library that imports a call newer than the floor, on an import the table
# does not list, and when the table dates a call after the floor.
#   tests/scripts/import_floor_test.sh Vorlamet.plg tolvric.dll
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
check="$root/scripts/check_import_floor.sh"
table="$root/scripts/import_floor_plugin.tsv"
kit_table="$root/scripts/import_floor_kit.tsv"
plg="$1"
kit_library="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tab=$'\t'
grep -v "^user32.dll${tab}PtInRect${tab}" "$table" >"$work/unlisted.tsv"
sed "s/^\(user32.dll${tab}SetWindowRgn${tab}95${tab}\)3.51/\12000/" "$table" >"$work/newer.tsv"

status=0
# case: table, floors, file, what the failure must say
while IFS='|' read -r table_file floor_9x floor_nt file expected; do
    if output=$(bash "$check" "$table_file" "$floor_9x" "$floor_nt" "$file" 2>&1); then
        echo "import_floor_test: passed where it must fail: $file against $table_file" >&2
        status=1
    elif ! grep -qF -- "$expected" <<<"$output"; then
        echo "import_floor_test: expected [$expected], got: $(head -n 3 <<<"$output")" >&2
        status=1
    fi
done <<EOF_CASES
$kit_table|-|xp|$kit_library|imports GetTickCount64 from kernel32.dll, which NT xp lacks (first in vista)
$work/unlisted.tsv|95|4.0|$plg|imports PtInRect from user32.dll, which $work/unlisted.tsv does not list
$work/newer.tsv|95|4.0|$plg|imports SetWindowRgn from user32.dll, which NT 4.0 lacks (first in 2000)
EOF_CASES
bash "$check" "$table" 95 4.0 "$plg" >/dev/null || status=1
[ "$status" -eq 0 ] && echo "import_floor_test: the check fails on each newer or unlisted import"
exit "$status"
