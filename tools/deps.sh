#!/bin/sh
# Installs the Debian packages that are missing: "sh tools/deps.sh play" only
# what building and playing the game needs; "windows" what building the
# Windows program needs, "windows-check" that and Wine with a display and a
# window manager to try and measure it on; "web" what the web page needs
# (Emscripten, which brings node) and its test (Chromium, npm); "libretro"
# what the libretro core needs (the frontend's header) and its check (Debian's
# RetroArch with a display, GoogleTest, ImageMagick); "aarch64" the cross
# compilers for 64-bit ARM, the arm64 libraries beside this machine's own
# (the architecture added when missing), qemu's user mode to run the tests
# and lintian for the package; without an
# argument the tests', benchmarks', checks' and packaging's tools as well.
set -eu
PLAY="build-essential cmake libsdl2-dev zlib1g-dev nlohmann-json3-dev"
WINDOWS="build-essential cmake zlib1g-dev g++-mingw-w64-x86-64-posix libz-mingw-w64-dev \
nlohmann-json3-dev zip"
PACKAGES="$PLAY"
if [ "${1:-}" = windows ]; then
  PACKAGES="$WINDOWS"
elif [ "${1:-}" = windows-check ]; then
  PACKAGES="$WINDOWS wine wine64 xvfb xdotool imagemagick openbox"
elif [ "${1:-}" = web ]; then
  PACKAGES="cmake make emscripten python3 chromium"
  # A node from elsewhere brings its own npm, which Debian's would clash with.
  command -v npm >/dev/null || PACKAGES="$PACKAGES npm"
elif [ "${1:-}" = libretro ]; then
  PACKAGES="build-essential cmake zlib1g-dev nlohmann-json3-dev libgtest-dev retroarch-dev \
retroarch xvfb dbus imagemagick"
elif [ "${1:-}" = aarch64 ]; then
  PACKAGES="build-essential cmake nlohmann-json3-dev g++-aarch64-linux-gnu qemu-user lintian \
zlib1g-dev:arm64 libgtest-dev:arm64 libgmock-dev:arm64 libsdl2-dev:arm64"
elif [ "${1:-}" != play ]; then
  PACKAGES="$PLAY pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang clang-format \
clang-tidy libclang-rt-14-dev eslint xvfb xdotool imagemagick openbox libxtst-dev libxext-dev \
appstream lintian"
fi
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ "${1:-}" = aarch64 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $SUDO dpkg --add-architecture arm64
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
