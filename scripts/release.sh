#!/usr/bin/env bash
# Builds the release kit: out/vorlamet-kit.zip with the plug-in, the host kit
# (vorlamet.exe to double-click, vorlamet_host.exe for the console,
# tolvric.dll, plasmyr.dll), both skins, a read-me for Windows users, the full
# README and the change log; out/SHA256SUMS beside it. Then checks it
# (scripts/check_release.py): versions, imports, manifests, its file list.
#   scripts/release.sh [--out DIR] [--sign CERT KEY [--timestamp URL]] [--dirty]
#   scripts/release.sh --verify [--sign CERT KEY [--timestamp URL]]
# A tree with uncommitted changes is refused; --dirty releases it with the
# version VERSION+dirty. --verify builds the commit twice in two folders and
# compares the kits: with their signatures stripped, and byte for byte when
# no time stamp differs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
script=release
usage="scripts/release.sh [--out DIR] [--sign CERT KEY [--timestamp URL]] [--dirty]"
usage+=" | --verify [--sign CERT KEY [--timestamp URL]]"
. "$root/scripts/kit_options.sh"
out="$root/out"
out_given=0 verify=0 dirty=0 cert="" key="" timestamp=""
while [ $# -gt 0 ]; do
    sign_options "$@"
    if [ "$taken" -gt 0 ]; then
        shift "$taken"
        continue
    fi
    case "$1" in
    --out)
        [ $# -ge 2 ] && [ -n "$2" ] || usage_error "--out needs a folder"
        out="$(realpath -m "$2")" # from where it was typed
        out_given=1
        shift 2
        ;;
    --verify) verify=1 && shift ;;
    --dirty) dirty=1 && shift ;;
    *) usage_error "unknown argument '$1'" ;;
    esac
done
sign_options_complete
if [ "$verify" = 1 ]; then
    [ "$out_given" = 0 ] || usage_error "--verify keeps no kit, so no --out"
    [ "$dirty" = 0 ] || usage_error "--verify builds the commit, never uncommitted changes: no --dirty"
fi
sign=()
[ -z "$cert" ] || sign=(--sign "$cert" "$key")
[ -z "$timestamp" ] || sign+=(--timestamp "$timestamp")
cd "$root"
. scripts/source_date.sh
. scripts/uncommitted.sh
SOURCE_DATE_EPOCH="$(source_date_epoch "$root")"
export SOURCE_DATE_EPOCH # the link stamps too
changes="$(uncommitted_changes "$root")"

if [ "$verify" = 1 ]; then
    # Two clones of the commit at paths of different lengths, built one after
    # the other, the second in another time zone and with another umask.
    [ -z "$changes" ] || echo "release: --verify builds the commit; uncommitted changes are left out"
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    one="$work/one/vorlamet"
    two="$work/the-second-build/of/vorlamet"
    for tree in "$one" "$two"; do
        mkdir -p "$tree"
        git archive HEAD | tar -x -C "$tree"
    done
    bash "$one/scripts/release.sh" --out "$one/out" "${sign[@]}" >"$work/one.log" 2>&1 ||
        { cat "$work/one.log"; exit 1; }
    (umask 077 && TZ=Pacific/Kiritimati bash "$two/scripts/release.sh" --out "$two/out" \
        "${sign[@]}") >"$work/two.log" 2>&1 || { cat "$work/two.log"; exit 1; }
    # Every file, each binary with its signature stripped; without time
    # stamps, every byte of the two zips too.
    same=1
    python3 scripts/compare_kits.py "$one/out/vorlamet-kit.zip" "$two/out/vorlamet-kit.zip" || same=0
    if [ -z "$timestamp" ]; then
        for f in vorlamet-kit.zip SHA256SUMS; do
            cmp "$one/out/$f" "$two/out/$f" || same=0
        done
    fi
    if [ "$same" = 0 ]; then
        echo "release --verify: the two builds differ (first differences above)"
        exit 1
    fi
    if [ -z "$timestamp" ]; then
        echo "release --verify: two builds of $(git rev-parse --short HEAD) are identical, byte for byte:"
    else
        echo "release --verify: two builds of $(git rev-parse --short HEAD) are identical with their" \
            "signatures stripped (each carries its own time stamp):"
    fi
    cat "$one/out/SHA256SUMS"
    exit 0
fi

# Code no commit holds is released only when asked for, and then says so.
version="$(head -n 1 VERSION)"
label=OFF
if [ -n "$changes" ]; then
    if [ "$dirty" = 0 ]; then
        echo "release: refused: the tree has uncommitted changes, which the version would not" \
            "show; commit them, or release them as $version+dirty with --dirty:" >&2
        head -n 10 <<<"$changes" >&2
        exit 1
    fi
    label=ON
    version+="+dirty"
    echo "release: version $version: uncommitted changes on top of $(git rev-parse --short HEAD)"
elif [ "$dirty" = 1 ]; then
    echo "release: --dirty: nothing is uncommitted, so this is the commit's version, $version"
fi

bash scripts/setup.sh
cmake -S . -B build/cross -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVORLAMET_DIRTY="$label" >/dev/null
bin="$root/build/cross/bin"
# Linked afresh, so that each carries this commit's time stamp.
rm -f "$bin/Vorlamet.plg" "$bin/vorlamet.exe" "$bin/vorlamet_host.exe" "$bin/tolvric.dll" \
    "$bin/plasmyr.dll"
cmake --build build/cross -j "$(nproc)" --target Vorlamet vorlamet vorlamet_host tolvric plasmyr \
    >/dev/null
bash scripts/check_exports.sh "$bin/Vorlamet.plg"
python3 tools/make_skins.py --check

bash scripts/make_kit.sh "$bin" "$out" "${sign[@]}"
checks=("$out/vorlamet-kit.zip")
[ "$label" = OFF ] || checks=(--dirty "${checks[@]}")
python3 scripts/check_release.py "${checks[@]}"
echo "release: $out/vorlamet-kit.zip"
cat "$out/SHA256SUMS"
