#!/bin/sh
# Installs the Debian packages the build, the tests and the desktop game need,
# when any of them is missing.
set -eu
PACKAGES="build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
libpng-dev nlohmann-json3-dev libsdl2-dev clang clang-format clang-tidy libclang-rt-14-dev \
xvfb xdotool imagemagick"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
