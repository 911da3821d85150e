#!/bin/sh
# Installs the Debian packages that are missing: "sh tools/deps.sh play" only
# what building and playing the game needs; "sh tools/deps.sh web" what the
# web page needs (Emscripten, which brings node) and its test (Chromium, npm);
# without an argument also the tests', benchmarks', checks' and packaging's
# tools.
set -eu
PLAY="build-essential cmake libsdl2-dev libpng-dev nlohmann-json3-dev"
PACKAGES="$PLAY"
if [ "${1:-}" = web ]; then
  PACKAGES="cmake make emscripten python3 chromium"
  # A node from elsewhere brings its own npm, which Debian's would clash with.
  command -v npm >/dev/null || PACKAGES="$PACKAGES npm"
elif [ "${1:-}" != play ]; then
  PACKAGES="$PLAY pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang clang-format \
clang-tidy libclang-rt-14-dev xvfb xdotool imagemagick openbox appstream lintian"
fi
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
