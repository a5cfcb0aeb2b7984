#!/usr/bin/env bash
# Runs a compile or link step of the cross tree with the same MinGW-w64
# compiler in its Win32 thread model: CMake puts this script before its own
# compiler (the POSIX model's, named ...-posix) as the launcher of the
# plug-in's targets. The POSIX model's threads runtime imports calls Windows
# 95 and NT 4.0 lack (GetTickCount64 needs Vista); the Win32 model's imports
# none, and the plug-in runs on those systems.
#   scripts/win32_thread_model.sh /usr/bin/i686-w64-mingw32-g++-posix ARGS...
set -euo pipefail
compiler="$1"
shift
case "$compiler" in
*-posix) exec "${compiler%-posix}-win32" "$@" ;;
*)
    echo "win32_thread_model: $compiler is not a POSIX-model MinGW-w64 compiler" >&2
    exit 1
    ;;
esac
