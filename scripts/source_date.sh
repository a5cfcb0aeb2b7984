# The release's one time, for every time stamp it writes (the binaries' link
# and strip stamps, the zip's entries, a signature's signing time): the
# commit's, so that a build tomorrow gives the same bytes as one today.
# SOURCE_DATE_EPOCH when set; else the commit's time; else, in an unpacked
# source archive without git, the VERSION file's time (git archive gives
# every file the commit's time).
source_date_epoch() {
    local root="$1"
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
        echo "$SOURCE_DATE_EPOCH"
    elif git -C "$root" rev-parse --verify -q HEAD >/dev/null 2>&1; then
        git -C "$root" log -1 --format=%ct
    else
        stat -c %Y "$root/VERSION"
    fi
}
