#!/usr/bin/env bash
# Makes the release kit from built binaries: DIR/vorlamet-kit.zip with the
# plug-in, the host kit, both skins and the read-mes, SHA256SUMS inside (one
# line per file) and DIR/SHA256SUMS beside it (the zip's). The same inputs give
# the same bytes: every time stamp is SOURCE_DATE_EPOCH (scripts/source_date.sh)
# and the zip's entries have a fixed order, time and attributes.
#   scripts/make_kit.sh BIN DIR [--sign CERT KEY [--timestamp URL]]
# --sign signs every binary (PEM files); --timestamp has each signature time
# stamped (RFC 3161) by that server, so that it stays valid after the
# certificate expires.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
script=make_kit
usage="scripts/make_kit.sh BIN DIR [--sign CERT KEY [--timestamp URL]]"
. "$root/scripts/kit_options.sh"
binaries=(Vorlamet.plg vorlamet.exe vorlamet_host.exe tolvric.dll plasmyr.dll)
[ $# -ge 2 ] && [ -n "$1" ] && [ -n "$2" ] && [ "${1#--}" = "$1" ] && [ "${2#--}" = "$2" ] ||
    usage_error "BIN and DIR come first: the built binaries' folder and the kit's"
bin="$1"
out="$(realpath -m "$2")"
for f in "${binaries[@]}"; do
    [ -f "$bin/$f" ] || usage_error "BIN '$bin' has no $f"
done
shift 2
cert="" key="" timestamp=""
while [ $# -gt 0 ]; do
    sign_options "$@"
    [ "$taken" -gt 0 ] || usage_error "unknown argument '$1'"
    shift "$taken"
done
sign_options_complete
. "$root/scripts/source_date.sh"
SOURCE_DATE_EPOCH="$(source_date_epoch "$root")"
export SOURCE_DATE_EPOCH # strip stamps the binaries with it, not with the clock

stage="$out/vorlamet-kit"
rm -rf "$stage" "$out/vorlamet-kit.zip" "$out/SHA256SUMS"
mkdir -p "$stage/skins" "$stage/docs"
for f in "${binaries[@]}"; do
    cp "$bin/$f" "$stage/"
done
cp -r "$root/skins/default" "$root/skins/painted" "$stage/skins/"
cp "$root/README.md" "$root/CHANGELOG.md" "$stage/"
# The Windows read-me with Windows line ends, so that every Notepad shows it.
sed 's/$/\r/' "$root/docs/README-Windows.txt" >"$stage/README-Windows.txt"
for picture in default-skin.png default-skin.gif painted-skin.png meter-100-200.png strip-frames.png \
    mask-and-alpha.png properties-dialog.png; do
    cp "$root/docs/$picture" "$stage/docs/"
done
# Stripped of debugging symbols the kit is a fraction of the size; each file
# ends where a signature would begin (scripts/pe_align.py).
i686-w64-mingw32-strip "$stage"/*.plg "$stage"/*.exe "$stage"/*.dll
python3 "$root/scripts/pe_align.py" "$stage"/*.plg "$stage"/*.exe "$stage"/*.dll
if [ -n "$cert" ]; then
    # Without a time-stamp server the signing time is the commit's, so that a
    # signed build differs from an unsigned one only by its signatures. With
    # one, the server's time stamp is what Windows judges the certificate by.
    when=(-time "$SOURCE_DATE_EPOCH")
    [ -z "$timestamp" ] || when=(-ts "$timestamp")
    for f in "$stage"/*.plg "$stage"/*.exe "$stage"/*.dll; do
        osslsigncode sign -certs "$cert" -key "$key" -n Vorlamet -h sha256 "${when[@]}" \
            -in "$f" -out "$f.signed" >"$out/sign.log" 2>&1 || {
            tail -n 5 "$out/sign.log" >&2
            echo "release: signing $(basename "$f") failed${timestamp:+ (time-stamp server $timestamp)}" >&2
            exit 1
        }
        mv "$f.signed" "$f"
    done
    rm -f "$out/sign.log"
    echo "release: signed with $cert${timestamp:+, time-stamped by $timestamp}"
else
    echo "release: unsigned (scripts/release.sh --sign CERT KEY signs every binary)"
fi
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum \
    >"$out/SHA256SUMS.files" && mv "$out/SHA256SUMS.files" SHA256SUMS)

(cd "$out" && python3 - <<'PY'
import os, time, zipfile
# The zip's own times are local DOS times: the commit's time in UTC, for all.
when = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
paths = sorted(os.path.relpath(os.path.join(folder, name)).replace(os.sep, "/")
               for folder, _, files in os.walk("vorlamet-kit") for name in files)
with zipfile.ZipFile("vorlamet-kit.zip", "w") as kit:
    for path in paths:
        entry = zipfile.ZipInfo(path, when)
        entry.create_system = 3  # the attributes below are Unix ones
        entry.external_attr = 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(path, "rb") as f:
            kit.writestr(entry, f.read(), compresslevel=9)
        print("  " + path)
PY
)
(cd "$out" && sha256sum vorlamet-kit.zip >SHA256SUMS)
