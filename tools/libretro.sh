#!/bin/sh
# The game as a libretro core: build/libretro/pellax_rim_libretro.so and its
# .info beside it (preset libretro).
#   sh tools/libretro.sh           build them
#   sh tools/libretro.sh --check   that, the test frontend (ctest), then
#                                  Debian's RetroArch playing the core under
#                                  Xvfb (tests/libretro/retroarch_check.sh)
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh libretro
cmake --preset libretro >/dev/null
nice cmake --build --preset libretro -j"${JOBS:-$(nproc)}"
echo "The core is build/libretro/pellax_rim_libretro.so (RetroArch: retroarch -L it)."
if [ "${1:-}" = --check ]; then
  ctest --preset libretro
  sh tests/libretro/retroarch_check.sh build/libretro
fi
