#!/bin/sh
# Builds and runs every test: once in the normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer in a build with the headless
# host alone, whose program must link neither SDL nor X11.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
for preset in dev asan; do
  echo "== $preset build" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  ctest --preset "$preset"
done
# A game played in the SDL window under Xvfb must verify from its replay.
sh tests/desktop/replay_check.sh build/dev/pellax-rim build/dev/window-replay.pxr
if ldd build/asan/pellax-rim | grep -Ei 'libSDL|libX11'; then
  echo "the headless build links a window system's library" >&2
  exit 1
fi
