#!/bin/sh
# The default installation's fingerprint: the SHA-256 of a list of each
# file's path under the root and the SHA-256 of its bytes, in byte order of
# the paths. Every build must make the same installation (replays are checked
# against it), and tests/data/installation.sha256 holds the Linux build's.
#   sh tools/installation_fingerprint.sh ROOT              print ROOT's
#   sh tools/installation_fingerprint.sh --check NAME ROOT fail unless ROOT's
#                                                          is the Linux build's
#   sh tools/installation_fingerprint.sh --make NAME PROGRAM [ARG...]
#       the same for what PROGRAM [ARG...] --make-root DIR makes
# When the installation changes on purpose, print the new fingerprint into
# tests/data/installation.sha256 from the Linux build's --make-root.
set -eu
expected="$(cd "$(dirname "$0")/.." && pwd)/tests/data/installation.sha256"

fingerprint() {
    (cd "$1" && find . -type f | LC_ALL=C sort | while IFS= read -r file; do
        printf '%s\n' "$file"
        sha256sum <"$file"
    done) | sha256sum | cut -d ' ' -f 1
}

check() {
    found=$(find "$2" -type f | wc -l)
    [ "$found" -gt 0 ] || { echo "$1: no installation in $2" >&2; exit 1; }
    got=$(fingerprint "$2")
    want=$(cat "$expected")
    if [ "$got" != "$want" ]; then
        echo "$1: the installation's fingerprint is $got, not the Linux build's $want" >&2
        exit 1
    fi
    echo "$1: the installation's fingerprint is the Linux build's, $got"
}

case "${1:-}" in
--check) check "$2" "$3" ;;
--make)
    name=$2
    shift 2
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    "$@" --make-root "$scratch/root" >/dev/null ||
        { echo "$name: $* could not make the installation" >&2; exit 1; }
    check "$name" "$scratch/root" ;;
*) fingerprint "$1" ;;
esac
