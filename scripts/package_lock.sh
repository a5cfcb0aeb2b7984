# Sourced by setup.sh: waits while another program holds the package manager's
# locks. Fresh machines often run their automatic updates right after boot;
# apt and dpkg then refuse to start ("Could not get lock ..."), so set-up waits
# its turn instead, up to a limit, and says so.
#
# apt and dpkg take fcntl locks, which flock(1) does not see; the kernel lists
# them in /proc/locks by inode, which is what is read here (no tools needed
# that a fresh machine may lack).

PACKAGE_LOCK_FILES="${PACKAGE_LOCK_FILES:-/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock}"
PACKAGE_LOCK_WAIT="${PACKAGE_LOCK_WAIT:-600}" # seconds
PACKAGE_LOCK_POLL="${PACKAGE_LOCK_POLL:-2}"   # seconds between two looks

# The first lock file that some process holds, as "FILE PID"; nothing when
# all are free.
package_lock_holder() {
    local file inode pid
    for file in $PACKAGE_LOCK_FILES; do
        [ -e "$file" ] || continue
        inode="$(stat -c %i "$file" 2>/dev/null)" || continue
        # "1: POSIX  ADVISORY  WRITE 4711 fe:00:123456 0 EOF"; "->" marks a waiter.
        pid="$(awk -v inode="$inode" '$2 != "->" && $6 ~ (":" inode "$") { print $5; exit }' \
            /proc/locks 2>/dev/null)"
        if [ -n "$pid" ]; then
            echo "$file $pid"
            return
        fi
    done
}

# Returns 0 once every lock is free, 1 when one is still held after
# PACKAGE_LOCK_WAIT seconds; says what it waits for once, and why it gives up.
wait_for_package_lock() {
    local held start now said=""
    start="$(date +%s)"
    while held="$(package_lock_holder)" && [ -n "$held" ]; do
        local file="${held% *}" pid="${held#* }" name
        name="$(cat "/proc/$pid/comm" 2>/dev/null || echo "process $pid")"
        now="$(date +%s)"
        if [ $((now - start)) -ge "$PACKAGE_LOCK_WAIT" ]; then
            echo "setup: the package manager is still busy after $PACKAGE_LOCK_WAIT s ($name, process $pid, holds $file); run this again when it has finished" >&2
            return 1
        fi
        if [ -z "$said" ]; then
            echo "setup: waiting for the package manager: $name (process $pid) holds $file, perhaps the automatic updates after boot; waiting up to $PACKAGE_LOCK_WAIT s" >&2
            said=1
        fi
        sleep "$PACKAGE_LOCK_POLL"
    done
    [ -n "$said" ] && echo "setup: the package manager is free" >&2
    return 0
}
