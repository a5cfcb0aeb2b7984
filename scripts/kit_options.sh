# The options that scripts/release.sh and scripts/make_kit.sh share, checked
# alike before anything is built: a wrong one ends the script with one line
# and status 2. The script sets `script` (its name) and `usage` first.
#   sign_options "$@"   reads --sign CERT KEY or --timestamp URL at the front
#                       into cert, key and timestamp; sets taken to the count
#                       of arguments it read (0: neither option is there)
usage_error() {
    echo "$script: $1 (usage: $usage)" >&2
    exit 2
}

# readable_file WHAT PATH: the absolute path of a file that can be read.
readable_file() {
    [ -f "$2" ] && [ -r "$2" ] || usage_error "$1 '$2' is not a file that can be read"
    realpath "$2"
}

sign_options() {
    taken=0
    case "$1" in
    --sign)
        [ $# -ge 3 ] || usage_error "--sign needs two files: CERT KEY"
        cert="$(readable_file "--sign: the certificate" "$2")" || exit 2
        key="$(readable_file "--sign: the key" "$3")" || exit 2
        taken=3
        ;;
    --timestamp)
        [ $# -ge 2 ] || usage_error "--timestamp needs the time-stamp server's address"
        [[ "$2" =~ ^https?://[^[:space:]]+$ ]] ||
            usage_error "--timestamp needs an http:// or https:// address, not '$2'"
        timestamp="$2"
        taken=2
        ;;
    esac
}

# sign_options_complete: a time stamp is for a signature.
sign_options_complete() {
    [ -z "$timestamp" ] || [ -n "$cert" ] || usage_error "--timestamp goes with --sign CERT KEY"
}
