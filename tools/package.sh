#!/bin/sh
# Makes the Debian package with CPack from the play preset and checks it:
# lintian finds no error, the AppStream metadata and the manual page are
# valid, and the packaged program runs (--version).
set -eu
cd "$(dirname "$0")/.."
cmake --preset play >/dev/null
cmake --build --preset play -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
(cd build/play && cpack -G DEB >/dev/null)
deb=$(ls build/play/pellax-rim_*.deb)
echo "== $deb"
appstreamcli validate --no-net packaging/*.metainfo.xml
man --warnings -l packaging/pellax-rim.6 >/dev/null
lintian --fail-on error "$deb"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
"$scratch/usr/games/pellax-rim" --version
