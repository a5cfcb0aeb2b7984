#!/usr/bin/env bash
# Signs a copy of a binary as the release does (scripts/make_kit.sh --sign),
# with a throw-away certificate made here, and checks the signature: it
# verifies, signing twice gives the same bytes, and it breaks when a byte of
# the signed file changes or the verifier trusts another certificate.
#   scripts/check_signing.sh FILE
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
certificate() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vorlamet test signer $1" \
        -addext extendedKeyUsage=codeSigning -keyout "$1.key" -out "$1.pem" 2>/dev/null
}
certificate ours
certificate other
cp "$1" unsigned.dll
sign() {
    osslsigncode sign -certs ours.pem -key ours.key -n Vorlamet -h sha256 -time 1700000000 \
        -in unsigned.dll -out "$1" >/dev/null
}
sign signed.dll
sign again.dll
verify() { osslsigncode verify -CAfile "$2" -in "$1" >"$1.log" 2>&1; }
status=0
fail() { echo "check_signing: $*" >&2 && status=1; }
verify signed.dll ours.pem || { cat signed.dll.log; fail "the signature does not verify"; }
cmp -s signed.dll again.dll || fail "two signatures of one file differ"
verify unsigned.dll ours.pem && fail "an unsigned file verifies"
verify signed.dll other.pem && fail "the signature verifies against another certificate"
cp signed.dll changed.dll
printf '\x90' | dd of=changed.dll bs=1 seek=1100 conv=notrunc status=none # in .text
verify changed.dll ours.pem && fail "a changed file still verifies"
[ "$status" = 0 ] && echo "check_signing: signed, verified; a changed byte or another certificate fails"
exit $status
