#!/usr/bin/env bash
# Configures and builds both trees: build/native and build/cross.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$jobs"
cmake -S . -B build/cross -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVORLAMET_DIRTY=OFF >/dev/null
cmake --build build/cross -j "$jobs"
