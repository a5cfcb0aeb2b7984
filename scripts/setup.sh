#!/usr/bin/env bash
# Installs, as root on Debian, everything the project needs. Idempotent: quick
# when every package is already there.
set -euo pipefail

# The plug-in is built with the Win32 thread model (it runs on Windows 95 and
# NT 4.0); the tests and the kit with the POSIX one.
packages=(cmake make g++ clang-format gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix
    gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
    binutils-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb xdotool x11-utils
    # 32-bit Wine's X libraries, which it only recommends: several monitors
    # (Xinerama, XRandR), layered windows, cursors and input need them.
    libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386
    libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
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
# A mirror in the middle of a sync fails one index now and then: try again,
# then install from the indexes that did arrive.
updated=false
for try in 1 2 3; do
    wait_for_package_lock
    if $SUDO "${apt[@]}" update -qq; then
        updated=true
        break
    fi
    if [ "$try" -lt 3 ]; then
        sleep 20
    else
        echo "setup: the package lists did not all update; installing from those there are" >&2
    fi
done
install_missing() {
    wait_for_package_lock
    DEBIAN_FRONTEND=noninteractive $SUDO "${apt[@]}" "$@" install -y -qq "${missing[@]}" >/dev/null
}
if $updated; then
    install_missing
    exit 0
fi
# What goes missing is usually one architecture's security index. 32-bit
# Wine's libraries must be the very versions of their 64-bit twins, which
# that architecture's security updates may have moved past: take the
# packages from the release itself, whose indexes are whole, stepping a
# twin back to the release's version where it must.
echo "setup: installing from the release itself; a 64-bit library may step back to the release's version to match its 32-bit twin" >&2
pins=$(mktemp)
trap 'rm -f "$pins"' EXIT
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
printf 'Package: *\nPin: release l=Debian,n=%s\nPin-Priority: 1001\n' "$release" >"$pins"
install_missing -o "Dir::Etc::Preferences=$pins" --allow-downgrades
