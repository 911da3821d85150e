#!/bin/sh
# The game for 64-bit ARM Linux, cross-built with Debian's aarch64 compilers
# against the arm64 libraries installed beside this machine's own: the
# program with its window, the tests, and the arm64 Debian package.
#   sh tools/aarch64.sh            build them (build/aarch64/pellax-rim_*_arm64.deb)
#   sh tools/aarch64.sh --check    that, then the tests (the recorded runs among
#                                  them) and the packaged program under
#                                  qemu-aarch64, and the package under lintian
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh aarch64
jobs="$(nproc 2>/dev/null || echo 2)"
# The icon is drawn at build time, so by a pellax-rim-icon built for this
# machine, in a small build of its own; --check also holds the ARM program's
# installation to that build's headless program's.
icon=build/aarch64-icon
cmake -S . -B $icon -DCMAKE_BUILD_TYPE=Release -DPELLAX_HOSTS=headless -DPELLAX_TESTS=OFF \
    -DPELLAX_BENCH=OFF >/dev/null
native=pellax-rim-icon
[ "${1:-}" = --check ] && native="$native pellax-rim"
# shellcheck disable=SC2086 # one word a target
cmake --build $icon -j"$jobs" --target $native >/dev/null
cmake --preset aarch64 -DPELLAX_ICON_TOOL="$PWD/$icon/pellax-rim-icon" >/dev/null
cmake --build --preset aarch64 -j"$jobs"
rm -f build/aarch64/pellax-rim_*.deb
(cd build/aarch64 && cpack -G DEB >/dev/null)
deb=$(ls build/aarch64/pellax-rim_*_arm64.deb)
echo "built build/aarch64/pellax-rim and $deb"
[ "${1:-}" = --check ] || exit 0

# The test programs, and the programs they start, run through qemu: the
# toolchain file names it as the emulator.
ctest --preset aarch64
lintian --fail-on error "$deb"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
run() { qemu-aarch64 -L /usr/aarch64-linux-gnu "$scratch/usr/games/pellax-rim" "$@"; }
run --version
# The installation the ARM program makes (palette, pictures, sounds, intro
# movie, registry, score file) is this machine's, byte for byte.
run --make-root "$scratch/arm" >/dev/null
$icon/pellax-rim --make-root "$scratch/native" >/dev/null
diff -r "$scratch/native" "$scratch/arm"
# That build is optimised (-O3): its installation has the fingerprint too.
sh tools/installation_fingerprint.sh --check "x86-64 -O3" "$scratch/native"
# The packaged program plays headless past the intro into a game; the
# recorded runs above held its runs to this machine's byte for byte.
printf '100 down 20 20\n140 up 20 20\n300 keydown 196\n340 keyup 196\n2000 state state.json\n' \
    >"$scratch/script.txt"
(cd "$scratch" && run --headless --root root --script script.txt --trace trace.jsonl)
grep -q '"playing": 1' "$scratch/state.json" || { echo "the packaged program did not play" >&2; exit 1; }
echo "the arm64 package passes lintian, and its program plays headless under qemu-aarch64"
