#!/usr/bin/env bash
# Set-up's wait for the package manager's locks, with a stand-in lock file
# held through fcntl as apt and dpkg hold theirs: a free lock passes at once
# and silently, a lock given up meanwhile is waited for, and one held past
# the limit fails with the holder's name.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
holder=""
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
lock="$work/lock-frontend"
: >"$lock"

# hold SECONDS: holds the lock in the background, once it is taken.
hold() {
    python3 -c 'import fcntl, sys, time
f = open(sys.argv[1], "w"); fcntl.lockf(f, fcntl.LOCK_EX); print("held", flush=True)
time.sleep(float(sys.argv[2]))' "$lock" "$1" >"$work/held" &
    holder=$!
    for _ in $(seq 1 100); do grep -q held "$work/held" 2>/dev/null && return; sleep 0.05; done
}

failures=0
# case NAME WAIT EXPECTED-STATUS EXPECTED-WORDS (empty: says nothing)
case_() {
    local said status
    said="$(PACKAGE_LOCK_FILES="$work/absent $lock" PACKAGE_LOCK_WAIT="$2" PACKAGE_LOCK_POLL=0.1 \
        bash -c '. "$0/scripts/package_lock.sh"; wait_for_package_lock' "$root" 2>&1)"
    status=$?
    if [ "$status" != "$3" ] || { [ -z "$4" ] && [ -n "$said" ]; } ||
        { [ -n "$4" ] && ! grep -q -- "$4" <<<"${said//$'\n'/ | }"; }; then
        echo "FAIL $1: status $status, said [$said]; expected $3 with \"$4\""
        failures=$((failures + 1))
    else
        echo "ok   $1: $status ${said//$'\n'/ | }"
    fi
}
case_ "free lock" 5 0 ""
hold 1
case_ "lock given up while waiting" 30 0 "waiting for the package manager: python.*holds $lock.*is free"
wait "$holder"
hold 30
case_ "lock held past the limit" 1 1 "still busy after 1 s (python.*, process $holder, holds $lock)"
[ "$failures" -eq 0 ]
