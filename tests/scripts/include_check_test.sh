#!/usr/bin/env bash
# The include check on small trees: one way down passes; a circle between two
# areas (also through a third), an area including plugin/ and a plug-in file
# including shell/ each fail, naming the include. So do, in the kit, a
# feature including one above it, a library including the host program or
# the other library, a rules/ file reaching a Win32 header (also through a
# header) or a feature's Win32 part, and the kit reading the plug-in's state.
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
        local file="$dir/${pair%%:*}" target="${pair#*:}"
        mkdir -p "$(dirname "$file")"
        if [[ $target == \<* ]]; then
            echo "#include $target" >>"$file"
        else
            echo "#include \"$target\"" >>"$file"
        fi
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
case_ plugin_includes_shell 1 "render/j.cpp: includes shell/skin_files/rules/k.h" "${down[@]}" \
    render/j.cpp:shell/skin_files/rules/k.h
case_ win32_knows_no_product 1 "win32/l.h: includes settings/d.h" "${down[@]}" \
    win32/l.h:settings/d.h
kit=(shell/kit/tray/a.cpp:shell/kit/session/b.h shell/kit/session/b.cpp:shell/kit/log/c.h
     shell/kit/desktop/rules/d.cpp:shell/skin_files/rules/e.h shell/kit/desktop/rules/d.cpp:"<cstdint>"
     shell/tolvric/f.cpp:shell/pictures/g.h shell/kit/skin_check/rules/h.cpp:render/frame_select.h
     shell/kit/session/b.cpp:"<windows.h>" host/host_records.h:"<windows.h>")
case_ kit_one_way_down 0 "include check: passed" "${kit[@]}"
case_ feature_includes_one_above 1 \
    "shell/kit/tray/ is above shell/kit/session/, which may include only the features below it" \
    "${kit[@]}" shell/kit/session/i.cpp:shell/kit/tray/tray_icon.h
case_ feature_without_a_place 1 "shell/kit/gadgets/ has no place in the features' order" \
    "${kit[@]}" shell/kit/gadgets/j.cpp:shell/kit/log/c.h
case_ library_includes_the_program 1 "shell/tolvric/k.cpp: includes shell/kit/log/c.h" \
    "${kit[@]}" shell/tolvric/k.cpp:shell/kit/log/c.h
case_ libraries_include_each_other 1 "shell/plasmyr/l.cpp: includes shell/tolvric/f.h" \
    "${kit[@]}" shell/plasmyr/l.cpp:shell/tolvric/f.h
case_ rules_include_windows 1 "rules/m.cpp: includes <windows.h>: rules/ includes no Win32" \
    "${kit[@]}" shell/kit/desktop/rules/m.cpp:"<windows.h>"
case_ rules_reach_windows_through_a_header 1 \
    "includes host/host_records.h, which reaches <windows.h>" \
    "${kit[@]}" shell/pictures/rules/n.cpp:host/host_records.h
case_ rules_include_a_win32_part 1 "not the Win32 part of a feature" \
    "${kit[@]}" shell/kit/desktop/rules/o.h:shell/kit/session/b.h
case_ kit_reads_plugin_state 1 "shell/kit/desktop/p.cpp: includes settings/settings_record.h" \
    "${kit[@]}" shell/kit/desktop/p.cpp:settings/settings_record.h
# And the tree itself.
if ! out=$(python3 "$root/scripts/check_includes.py" "$root" 2>&1); then
    echo "FAIL the project's own includes:"
    echo "$out"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "include check: all cases passed"
exit $((failures > 0))
