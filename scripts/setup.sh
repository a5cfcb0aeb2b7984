#!/usr/bin/env bash
# Installs, as root on Debian, everything the project needs. Idempotent: quick
# when every package is already there.
set -euo pipefail

packages=(cmake make g++ clang-format gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xdotool x11-utils
    googletest libgtest-dev libbenchmark-dev imagemagick python3 zip conky-std xserver-xephyr
    clang libclang-rt-14-dev osslsigncode openssl)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "setup: installing ${missing[*]}"
. "$(dirname "$0")/package_lock.sh"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
# Each step waits its turn; apt's own timeout covers a program that takes the
# lock between the look and the step.
wait_for_package_lock
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
apt=(apt-get -o "DPkg::Lock::Timeout=$PACKAGE_LOCK_WAIT")
wait_for_package_lock
$SUDO "${apt[@]}" update -qq
wait_for_package_lock
# With recommends: wine32 needs its i386 X libraries, which are only recommended.
DEBIAN_FRONTEND=noninteractive $SUDO "${apt[@]}" install -y -qq "${missing[@]}" >/dev/null
