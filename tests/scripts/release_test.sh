#!/usr/bin/env bash
# The release's promises, case by case:
# - every wrong argument of release.sh and make_kit.sh: one line, status 2,
#   at once (a certificate in a folder that does not exist once looped);
# - a tree with uncommitted changes (changed or new files) is refused before
#   anything is built; what counts as uncommitted, and what not;
# - kits from the cross tree's binaries, signed with a throw-away certificate
#   and time-stamped by a time-stamp server on this machine (never online):
#   each signature verifies, a time-stamped one still a month later when the
#   certificate has expired (one without fails then), the kits compare equal
#   to an unsigned kit with their signatures stripped, and a changed byte
#   does not; an unreachable server fails the signing.
# With --builds, instead, whole releases of a copy of this tree, minutes each:
# uncommitted changes released with --dirty say 1.0.0+dirty in every binary,
# --version and the About box; --verify of signed, time-stamped builds.
#   tests/scripts/release_test.sh BIN [--builds]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$(realpath "$1")"
builds="${2:-}"
work="$(mktemp -d)"
server=""
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY # the server is on this machine
cd "$work" || exit 1
failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

ok() { echo "ok   $*"; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vorlamet test signer" \
    -addext extendedKeyUsage=codeSigning -keyout signer.key -out signer.pem 2>/dev/null
mkdir fake-bin
touch fake-bin/{Vorlamet.plg,vorlamet.exe,vorlamet_host.exe,tolvric.dll,plasmyr.dll}

# error NAME SCRIPT EXPECTED-WORDS ARGS...: status 2 within seconds, one line.
error() {
    local name=$1 script=$2 words=$3 said status
    shift 3
    said="$(timeout 20 bash "$root/scripts/$script" "$@" 2>&1 >/dev/null)"
    status=$?
    if [ "$status" -ne 2 ] || [ "$(wc -l <<<"$said")" -ne 1 ] || ! grep -qF -- "$words" <<<"$said"; then
        fail "$name: status $status (wanted 2, 124 is a loop), said [$said]"
    else
        ok "$name: $said"
    fi
}

# A copy of this tree, committed in a repository of its own.
tree="$work/tree"
mkdir "$tree"
tar -C "$root" --exclude=./build --exclude=./out --exclude=./.git -c . | tar -x -C "$tree"
git -C "$tree" init -q
git -C "$tree" add -A
git -C "$tree" -c user.name=test -c user.email=test@localhost commit -qm "the tree"

# uncommitted NAME EXPECTED (empty: nothing) DIR: what counts as uncommitted.
uncommitted() {
    local said
    said="$(bash -c '. "$1/scripts/uncommitted.sh"; uncommitted_changes "$2"' _ "$root" "$3")"
    if [ "$said" != "$2" ]; then
        fail "uncommitted, $1: [$said], wanted [$2]"
    else
        ok "uncommitted, $1: [$said]"
    fi
}

# refused NAME WORDS: release.sh stops before building anything.
refused() {
    local said status
    said="$(timeout 60 bash "$tree/scripts/release.sh" --out "$work/refused" 2>&1)"
    status=$?
    if [ "$status" -ne 1 ] || ! grep -qF "refused: the tree has uncommitted changes" <<<"$said" ||
        ! grep -qF -- "$2" <<<"$said" || [ -e "$work/refused" ] || [ -e "$tree/build/cross" ]; then
        fail "$1: status $status, said [$said]"
    else
        ok "$1: $(head -n 1 <<<"$said")"
    fi
}

# A time-stamp server on this machine.
python3 "$root/tests/scripts/tsa_server.py" "$work" >tsa.url &
server=$!
for _ in $(seq 1 200); do [ -s tsa.url ] && break; sleep 0.1; done
url="$(cat tsa.url)"
[ -n "$url" ] || fail "the time-stamp server did not start"

# kit NAME ARGS...: a kit from the cross tree's binaries in NAME/.
kit() {
    bash "$root/scripts/make_kit.sh" "$bin" "$work/$1" "${@:2}" >"$1.log" 2>&1 ||
        fail "make_kit $*: $(tail -n 3 "$1.log")"
}

# verified NAME KIT WHEN WORDS: each binary's signature checked as at the
# time WHEN (empty: now) succeeds, or fails saying WORDS.
verified() {
    local f passed=0 failed=0
    for f in Vorlamet.plg vorlamet.exe vorlamet_host.exe tolvric.dll plasmyr.dll; do
        if osslsigncode verify -CAfile signer.pem -TSA-CAfile tsa.pem ${3:+-time "$3"} \
            -in "$work/$2/vorlamet-kit/$f" >verify.log 2>&1; then
            passed=$((passed + 1))
        elif [ -n "$4" ] && grep -qF "$4" verify.log; then
            failed=$((failed + 1))
        fi
    done
    if { [ -z "$4" ] && [ "$passed" -ne 5 ]; } || { [ -n "$4" ] && [ "$failed" -ne 5 ]; }; then
        fail "$1: $passed of 5 verified, $failed failed for '$4': $(grep -iE 'error|fail' verify.log | head -n 3)"
    else
        ok "$1"
    fi
}

# compared NAME A B STATUS WORDS: scripts/compare_kits.py on two kits.
compared() {
    local said status
    said="$(python3 "$root/scripts/compare_kits.py" "$work/$2/vorlamet-kit.zip" \
        "$work/$3/vorlamet-kit.zip" 2>&1)"
    status=$?
    if [ "$status" -ne "$4" ] || ! grep -qF -- "$5" <<<"$said"; then
        fail "$1: status $status, said [$said]"
    else
        ok "$1: $(tail -n 1 <<<"$said")"
    fi
}

argument_cases() {
    local none="$work/no/such/folder"
    error "release: --sign alone" release.sh "--sign needs two files" --sign
    error "release: --sign, one file" release.sh "--sign needs two files" --sign signer.pem
    error "release: certificate in a missing folder" release.sh \
        "the certificate '$none/signer.pem' is not a file" --sign "$none/signer.pem" signer.key
    error "release: key in a missing folder" release.sh "the key '$none/signer.key' is not a file" \
        --sign signer.pem "$none/signer.key"
    error "release: a folder for the certificate" release.sh "is not a file" --sign "$work" signer.key
    error "release: --timestamp without --sign" release.sh "--timestamp goes with --sign" \
        --timestamp http://127.0.0.1:9/
    error "release: --timestamp without its address" release.sh "--timestamp needs" \
        --sign signer.pem signer.key --timestamp
    error "release: --timestamp, not a web address" release.sh "http:// or https://" \
        --sign signer.pem signer.key --timestamp ftp://example
    error "release: --out alone" release.sh "--out needs a folder" --out
    error "release: --verify --dirty" release.sh "no --dirty" --verify --dirty
    error "release: --verify --out" release.sh "no --out" --verify --out somewhere
    error "release: an unknown argument" release.sh "unknown argument '--fast'" --fast
    error "make_kit: nothing" make_kit.sh "BIN and DIR come first"
    error "make_kit: options first" make_kit.sh "BIN and DIR come first" --sign signer.pem signer.key
    error "make_kit: BIN without binaries" make_kit.sh "has no Vorlamet.plg" "$work" out
    error "make_kit: certificate in a missing folder" make_kit.sh "is not a file" fake-bin out \
        --sign "$none/signer.pem" signer.key
    error "make_kit: --sign, one file" make_kit.sh "--sign needs two files" fake-bin out --sign signer.pem
    error "make_kit: --timestamp without --sign" make_kit.sh "--timestamp goes with --sign" \
        fake-bin out --timestamp https://example/
    error "make_kit: an unknown argument" make_kit.sh "unknown argument 'extra'" fake-bin out extra
}

uncommitted_cases() {
    uncommitted "a commit's tree" "" "$tree"
    mkdir -p "$tree/out" "$tree/build"
    touch "$tree/out/vorlamet-kit.zip" "$tree/build/CMakeCache.txt"
    uncommitted "kits and builds (ignored)" "" "$tree"
    echo "- one more line" >>"$tree/CHANGELOG.md"
    uncommitted "a changed file" " M CHANGELOG.md" "$tree"
    uncommitted "a folder inside the tree" "" "$tree/skins"
    mkdir "$work/archive"
    cp -r "$tree/skins" "$work/archive/"
    uncommitted "a source archive (no git)" "" "$work/archive"

    refused "a changed file refused" " M CHANGELOG.md"
    git -C "$tree" checkout -q CHANGELOG.md
    echo "notes" >"$tree/notes.txt"
    refused "a new file refused" "?? notes.txt"
    rm -r "$tree/notes.txt" "$tree/out" "$tree/build"
}

signing_cases() {
    local month_later=$(($(date +%s) + 30 * 86400)) digest said status
    kit unsigned
    kit signed --sign signer.pem signer.key
    kit stamped --sign signer.pem signer.key --timestamp "$url"
    kit stamped-again --sign signer.pem signer.key --timestamp "$url"

    verified "signed, verified today" signed "" ""
    verified "time-stamped, verified today" stamped "" ""
    verified "time-stamped, verified a month later, the certificate expired" stamped "$month_later" ""
    verified "signed without a time stamp fails a month later" signed "$month_later" \
        "certificate has expired"

    compared "unsigned and unsigned" unsigned unsigned 0 "same files, byte for byte"
    compared "unsigned and time-stamped" unsigned stamped 0 "5 binaries differ only in their signatures"
    compared "signed and time-stamped" signed stamped 0 "differ only in their signatures"
    compared "two time stamps" stamped stamped-again 0 "differ only in their signatures"
    cmp -s stamped/vorlamet-kit.zip stamped-again/vorlamet-kit.zip &&
        fail "two time-stamped kits are the same bytes: the time stamps are not in them"
    # One byte of the plug-in's code changed, in a copy of the time-stamped kit.
    mkdir -p changed && cp stamped/vorlamet-kit.zip changed/
    (cd changed && unzip -q vorlamet-kit.zip vorlamet-kit/Vorlamet.plg &&
        printf '\x90' | dd of=vorlamet-kit/Vorlamet.plg bs=1 seek=1100 conv=notrunc status=none &&
        python3 -c 'import zipfile, sys
with zipfile.ZipFile("vorlamet-kit.zip") as kit:
    files = {n: kit.read(n) for n in kit.namelist()}
files["vorlamet-kit/Vorlamet.plg"] = open("vorlamet-kit/Vorlamet.plg", "rb").read()
with zipfile.ZipFile("vorlamet-kit.zip", "w") as kit:
    for n, data in files.items():
        kit.writestr(n, data)')
    compared "a changed byte" unsigned changed 1 "vorlamet-kit/Vorlamet.plg differs with its signature stripped"
    # The check by hand that README.md describes: a signature removed, the file is
    # the one whose SHA-256 the unsigned build lists.
    osslsigncode remove-signature -in stamped/vorlamet-kit/vorlamet.exe -out stripped.exe >/dev/null
    digest="$(sha256sum stripped.exe | cut -d ' ' -f 1)"
    if grep -q "^$digest  vorlamet.exe$" unsigned/vorlamet-kit/SHA256SUMS; then
        ok "a signature removed by hand: the unsigned build's SHA-256"
    else
        fail "vorlamet.exe with its signature removed is not the unsigned build's"
    fi
    said="$(bash "$root/scripts/make_kit.sh" "$bin" "$work/offline" --sign signer.pem signer.key \
        --timestamp http://127.0.0.1:1/ 2>&1)"
    status=$?
    if [ "$status" -eq 1 ] && grep -qF "signing Vorlamet.plg failed (time-stamp server" <<<"$said"; then
        ok "an unreachable time-stamp server: $(tail -n 1 <<<"$said")"
    else
        fail "an unreachable time-stamp server: status $status, said [$said]"
    fi
}

build_cases() {
    local version said program
    version="$(head -n 1 "$root/VERSION")"
    echo "- one more line" >>"$tree/CHANGELOG.md"
    if ! bash "$tree/scripts/release.sh" --dirty --out "$work/dirty" >dirty.log 2>&1; then
        fail "--dirty: $(tail -n 5 dirty.log)"
    elif ! grep -qF "release: version $version+dirty" dirty.log ||
        ! grep -qF "versions (+dirty)" dirty.log; then # check_release --dirty: every binary
        fail "--dirty: the release does not say $version+dirty: $(cat dirty.log)"
    else
        # --version's line and the About box's text, as the programs hold
        # them: "Vorlamet 1.0.0" twice at least, each time with +dirty.
        for program in vorlamet.exe vorlamet_host.exe; do
            said="$(python3 -c 'import re, sys
found = re.findall(rb"Vorlamet " + re.escape(sys.argv[2].encode()) + rb"(\+dirty)?",
                   open(sys.argv[1], "rb").read())
print(len(found), sum(1 for f in found if f))' "$work/dirty/vorlamet-kit/$program" "$version")"
            if [ "${said% *}" -ge 2 ] && [ "${said% *}" = "${said#* }" ]; then
                ok "--dirty: $program says Vorlamet $version+dirty (${said% *} times, never without)"
            else
                fail "--dirty: $program: 'Vorlamet $version' and how many with +dirty: $said"
            fi
        done
    fi
    git -C "$tree" checkout -q CHANGELOG.md
    rm -rf "$tree/build"
    if ! bash "$tree/scripts/release.sh" --verify --sign signer.pem signer.key \
        --timestamp "$url" >verify-builds.log 2>&1; then
        fail "--verify, signed and time-stamped: $(tail -n 20 verify-builds.log)"
    elif ! grep -qF "identical with their signatures stripped" verify-builds.log; then
        fail "--verify, signed and time-stamped: $(cat verify-builds.log)"
    else
        ok "--verify, signed and time-stamped: $(grep -F 'release --verify' verify-builds.log)"
    fi
}

if [ "$builds" = --builds ]; then
    build_cases
else
    argument_cases
    uncommitted_cases
    signing_cases
fi
[ "$failures" -eq 0 ] && echo "release test: all cases passed"
[ "$failures" -eq 0 ]
