#!/usr/bin/env bash
# Checks, from the files alone, how the plug-in binds to the shell: it imports
# tolvric.dll and plasmyr.dll by those names and only names their .def files
# list, undecorated; every other import is a system library (the MinGW
# runtime is linked in, never loaded); and the stand-ins beside it export
# every name the plug-in imports from them.
#   scripts/check_imports.sh Vorlamet.plg [DIR_OF_STAND_INS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
plg="$1"
standins="${2:-$(dirname "$plg")}"
system="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll msimg32.dll ntdll.dll"
status=0
fail() {
    echo "check_imports: $*" >&2
    status=1
}

dump=$(i686-w64-mingw32-objdump -p "$plg")
# "DLL Name: X" starts a library's block; its imported names follow.
imports_of() {
    printf '%s\n' "$dump" | awk -v dll="$1" '
        /^\tDLL Name: / { inside = ($3 == dll); next }
        inside && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print $3 }
        inside && /^$/ { inside = 0 }'
}
def_names() {
    sed -n 's/^\([A-Za-z_][A-Za-z0-9_]*\)\(@[0-9]*\)\{0,1\}\( .*\)\{0,1\}$/\1/p' "$1" |
        grep -v -x -e LIBRARY -e EXPORTS || true
}

dlls=$(printf '%s\n' "$dump" | sed -n 's/^\tDLL Name: //p')
for lib in tolvric.dll plasmyr.dll; do
    grep -qx -- "$lib" <<<"$dlls" || fail "$plg does not import $lib by that name"
done
for dll in $dlls; do
    case "$dll" in
    tolvric.dll | plasmyr.dll) continue ;;
    esac
    lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
    case " $system " in
    *" $lower "*) ;;
    *) fail "$plg loads $dll, which is neither a system library nor the shell's" ;;
    esac
done

for lib in tolvric plasmyr; do
    allowed=$(def_names "$root/host/$lib.def")
    exported=""
    if [ -f "$standins/$lib.dll" ]; then
        exported=$(i686-w64-mingw32-objdump -p "$standins/$lib.dll" |
            sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
            sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p')
    else
        fail "no $lib.dll beside $plg"
    fi
    count=0
    for name in $(imports_of "$lib.dll"); do
        count=$((count + 1))
        grep -qx -- "$name" <<<"$allowed" ||
            fail "$plg imports $name from $lib.dll, which host/$lib.def does not list (decorated?)"
        [ -z "$exported" ] || grep -qx -- "$name" <<<"$exported" ||
            fail "$lib.dll does not export $name, which $plg imports"
    done
    [ "$count" -gt 0 ] || fail "$plg imports nothing from $lib.dll"
done
[ "$status" -eq 0 ] && echo "check_imports: $plg binds to tolvric.dll and plasmyr.dll by plain names; other imports are system libraries"
exit "$status"
