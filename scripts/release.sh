#!/usr/bin/env bash
# Builds the release kit: out/vorlamet-kit.zip with the plug-in, the host kit
# (vorlamet.exe to double-click, vorlamet_host.exe for the console,
# tolvric.dll, plasmyr.dll), both skins, a read-me for Windows users, the full
# README and the change log; out/SHA256SUMS beside it. Then checks it
# (scripts/check_release.py): versions, imports, manifests, its file list.
#   scripts/release.sh [--out DIR] [--sign CERT KEY]
#   scripts/release.sh --verify    builds the commit twice in two folders and
#                                  compares every byte of the two kits
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/out"
sign=()
verify=0
while [ $# -gt 0 ]; do
    case "$1" in
    --out) out="$(realpath -m "$2")" && shift 2 ;; # from where it was typed
    --sign) sign=(--sign "$(realpath "$2")" "$(realpath "$3")") && shift 3 ;;
    --verify) verify=1 && shift ;;
    *) echo "usage: scripts/release.sh [--out DIR] [--sign CERT KEY] | --verify" >&2 && exit 2 ;;
    esac
done
cd "$root"
. scripts/source_date.sh
SOURCE_DATE_EPOCH="$(source_date_epoch "$root")"
export SOURCE_DATE_EPOCH # the link stamps too

if [ "$verify" = 1 ]; then
    # Two clones of the commit at paths of different lengths, built one after
    # the other, the second in another time zone and with another umask.
    [ -z "$(git status --porcelain)" ] || echo "release: --verify builds the commit; uncommitted changes are left out"
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    one="$work/one/vorlamet"
    two="$work/the-second-build/of/vorlamet"
    for tree in "$one" "$two"; do
        mkdir -p "$tree"
        git archive HEAD | tar -x -C "$tree"
    done
    bash "$one/scripts/release.sh" --out "$one/out" >"$work/one.log" 2>&1 ||
        { cat "$work/one.log"; exit 1; }
    (umask 077 && TZ=Pacific/Kiritimati bash "$two/scripts/release.sh" --out "$two/out") \
        >"$work/two.log" 2>&1 || { cat "$work/two.log"; exit 1; }
    differ=0
    for f in vorlamet-kit.zip SHA256SUMS $(cd "$one/out" && find vorlamet-kit -type f | LC_ALL=C sort); do
        cmp "$one/out/$f" "$two/out/$f" || differ=1
    done
    if [ "$differ" = 1 ]; then
        echo "release --verify: the two builds differ (first differences above)"
        exit 1
    fi
    echo "release --verify: two builds of $(git rev-parse --short HEAD) are identical, byte for byte:"
    cat "$one/out/SHA256SUMS"
    exit 0
fi

bash scripts/setup.sh
cmake -S . -B build/cross -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
bin="$root/build/cross/bin"
# Linked afresh, so that each carries this commit's time stamp.
rm -f "$bin/Vorlamet.plg" "$bin/vorlamet.exe" "$bin/vorlamet_host.exe" "$bin/tolvric.dll" \
    "$bin/plasmyr.dll"
cmake --build build/cross -j "$(nproc)" --target Vorlamet vorlamet vorlamet_host tolvric plasmyr \
    >/dev/null
bash scripts/check_exports.sh "$bin/Vorlamet.plg"
python3 tools/make_skins.py --check

bash scripts/make_kit.sh "$bin" "$out" "${sign[@]}"
python3 scripts/check_release.py "$out/vorlamet-kit.zip"
echo "release: $out/vorlamet-kit.zip"
cat "$out/SHA256SUMS"
