#!/usr/bin/env bash
# Builds the release kit: out/vorlamet-kit.zip with the plug-in, the host kit
# (vorlamet.exe to double-click, vorlamet_host.exe for the console,
# tolvric.dll, plasmyr.dll), both skins, a read-me for Windows users and the
# full README.
#   scripts/release.sh [--out DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/out"
[ "${1:-}" = "--out" ] && out="$(realpath -m "$2")" # from where it was typed
cd "$root"

bash scripts/setup.sh
cmake -S . -B build/cross -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/cross -j "$(nproc)" --target Vorlamet vorlamet vorlamet_host tolvric plasmyr \
    >/dev/null
bin="$root/build/cross/bin"
bash scripts/check_exports.sh "$bin/Vorlamet.plg"
python3 tools/make_skins.py --check

stage="$out/vorlamet-kit"
rm -rf "$stage" "$out/vorlamet-kit.zip"
mkdir -p "$stage/skins" "$stage/docs"
cp "$bin/Vorlamet.plg" "$bin/vorlamet.exe" "$bin/vorlamet_host.exe" "$bin/tolvric.dll" \
    "$bin/plasmyr.dll" "$stage/"
cp -r skins/default skins/painted "$stage/skins/"
cp README.md "$stage/"
# The Windows read-me with Windows line ends, so that every Notepad shows it.
sed 's/$/\r/' docs/README-Windows.txt >"$stage/README-Windows.txt"
cp docs/default-skin.png docs/default-skin.gif docs/painted-skin.png docs/strip-frames.png \
    docs/mask-and-alpha.png docs/properties-dialog.png "$stage/docs/"
# Stripped of debugging symbols the kit is a fraction of the size.
i686-w64-mingw32-strip "$stage"/*.plg "$stage"/*.exe "$stage"/*.dll
(cd "$out" && python3 - <<'PY'
import os, zipfile
with zipfile.ZipFile("vorlamet-kit.zip", "w", zipfile.ZIP_DEFLATED) as kit:
    for folder, subfolders, files in os.walk("vorlamet-kit"):
        subfolders.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            kit.write(path, path.replace(os.sep, "/"))
            print("  " + path)
PY
)
echo "release: $out/vorlamet-kit.zip"
