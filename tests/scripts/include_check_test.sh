#!/usr/bin/env bash
# The include check on small trees: one way down passes; a circle between two
# areas (also through a third), an area including plugin/ and a plug-in file
# including shell/ each fail, naming the include.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# tree NAME FILE:INCLUDE...: a tree whose FILE holds #include "INCLUDE".
tree() {
    local dir="$work/$1"
    shift
    mkdir -p "$dir"/{plugin,window,sampling,render,settings,host,win32,shell}
    for pair in "$@"; do
        echo "#include \"${pair#*:}\"" >>"$dir/${pair%%:*}"
    done
    echo "$dir"
}

failures=0
# case NAME EXPECTED-STATUS EXPECTED-WORDS FILE:INCLUDE...
case_() {
    local name=$1 want=$2 words=$3 dir out status
    shift 3
    dir=$(tree "$name" "$@")
    out=$(python3 "$root/scripts/check_includes.py" "$dir" 2>&1)
    status=$?
    if [ "$status" -ne "$want" ] || ! grep -qF -- "$words" <<<"$out"; then
        echo "FAIL $name: status $status (wanted $want), output:"
        echo "$out"
        failures=$((failures + 1))
    fi
}

down=(plugin/a.cpp:window/b.h window/b.cpp:render/c.h render/c.cpp:settings/d.h
      window/e.cpp:win32/f.h settings/d.cpp:host/g.h)
case_ one_way_down 0 "include check: passed" "${down[@]}"
case_ two_area_circle 1 "circle render -> settings -> render" "${down[@]}" \
    settings/h.cpp:render/c.h
case_ circle_through_three 1 "circle window -> render -> settings -> window" "${down[@]}" \
    settings/h.cpp:window/b.h
case_ area_includes_plugin 1 "window/i.cpp: includes plugin/lifecycle.h" "${down[@]}" \
    window/i.cpp:plugin/lifecycle.h
case_ plugin_includes_shell 1 "render/j.cpp: includes shell/common/k.h" "${down[@]}" \
    render/j.cpp:shell/common/k.h
case_ win32_knows_no_product 1 "win32/l.h: includes settings/d.h" "${down[@]}" \
    win32/l.h:settings/d.h
# And the tree itself.
if ! out=$(python3 "$root/scripts/check_includes.py" "$root" 2>&1); then
    echo "FAIL the project's own includes:"
    echo "$out"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "include check: all cases passed"
exit $((failures > 0))
