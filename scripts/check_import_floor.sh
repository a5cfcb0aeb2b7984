#!/usr/bin/env bash
# Checks, from the files alone, that programs and libraries load on the oldest
# Windows they serve: every function in their import tables is listed in a
# table of the functions they may import, with the first Windows of each
# family that exports it, and none is newer than the floor. Anything newer has
# to be looked up at run time instead.
#   scripts/check_import_floor.sh TABLE.tsv FLOOR_9X FLOOR_NT FILE...
# FLOOR_9X is 95, 98 or me, or - when the 95/98/Me family is not served;
# FLOOR_NT is 3.1, 3.5, 3.51, 4.0, 2000, xp, 2003, vista, 7, 8 or 10.
# The table's rows: library, function, first 95/98/Me (or stub: exported as
# a stub that fails, or none), first NT, where that fact comes from. A
# library of the shell ("shell" in both columns) loads on any of them.
set -euo pipefail
table="$1"
floor9x="$2"
floornt="$3"
shift 3
status=0
for file in "$@"; do
    i686-w64-mingw32-objdump -p "$file" | awk -F'\t' -v table="$table" -v file="$file" \
        -v floor9x="$floor9x" -v floornt="$floornt" '
        function rank9x(v) {
            if (v == "95" || v == "stub") return 1 # a stub loads; its caller falls back
            if (v == "98") return 2
            if (v == "me") return 3
            return 99 # none: not exported
        }
        function ranknt(v, i) {
            for (i = 1; i <= ntcount; ++i) if (nt[i] == v) return i
            return 99
        }
        function fail(why) {
            print "check_import_floor: " file ": " why > "/dev/stderr"
            bad = 1
        }
        BEGIN {
            ntcount = split("3.1 3.5 3.51 4.0 2000 xp 2003 vista 7 8 8.1 10", nt, " ")
            if (floor9x != "-" && rank9x(floor9x) == 99) { print "bad floor " floor9x > "/dev/stderr"; exit 2 }
            if (ranknt(floornt) == 99) { print "bad floor " floornt > "/dev/stderr"; exit 2 }
            while ((getline line < table) > 0) {
                if (line ~ /^#/ || line == "") continue
                split(line, f, "\t")
                key = tolower(f[1]) "\t" f[2]
                first9x[key] = f[3]
                firstnt[key] = f[4]
            }
        }
        # "DLL Name: X" starts a library block; its imported names follow.
        /^\tDLL Name: / { sub(/^\tDLL Name: /, ""); dll = tolower($0); next }
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ {
            n = split($0, w, " "); name = w[n]; count++
            key = dll "\t" name
            if (!(key in firstnt)) { fail("imports " name " from " dll ", which " table " does not list"); next }
            if (firstnt[key] == "shell") next
            if (floor9x != "-" && rank9x(first9x[key]) > rank9x(floor9x))
                fail("imports " name " from " dll ", which Windows " floor9x " lacks (" first9x[key] ")")
            if (ranknt(firstnt[key]) > ranknt(floornt))
                fail("imports " name " from " dll ", which NT " floornt " lacks (first in " firstnt[key] ")")
        }
        dll != "" && /^$/ { dll = "" }
        END {
            if (count == 0) fail("no imports read")
            if (!bad) printf "check_import_floor: %s: %d imports, none newer than %s%s\n", file, count,
                floor9x == "-" ? "" : "Windows " floor9x " and ", "NT " floornt
            exit bad
        }' || status=1
done
exit "$status"
