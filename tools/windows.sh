#!/bin/sh
# The Windows program, cross-built with mingw-w64: build/windows/pellax-rim.exe
# (one file that needs nothing Windows does not ship) and a zip to hand out
# with it, the README and the licences of what it holds.
#   sh tools/windows.sh            build the program and the zip
#   sh tools/windows.sh --check    that, then run it under Wine (tests/windows/check.sh)
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = --check ]; then sh tools/deps.sh windows-check; else sh tools/deps.sh windows; fi
# The icon Explorer shows, drawn by the game's own code in a small native build.
icon=build/windows-icon
cmake -S . -B $icon -DCMAKE_BUILD_TYPE=Release -DPELLAX_DESKTOP=OFF -DPELLAX_TESTS=OFF \
    -DPELLAX_BENCH=OFF >/dev/null
cmake --build $icon -j"$(nproc)" --target pellax-rim-icon >/dev/null
$icon/pellax-rim-icon ico $icon/pellax-rim.ico
cmake --preset windows -DPELLAX_WINDOWS_ICON="$PWD/$icon/pellax-rim.ico" >/dev/null
cmake --build --preset windows -j"$(nproc)"

version=$(cat build/windows/version.txt)
stage=build/windows/zip/pellax-rim-$version
rm -rf build/windows/zip && mkdir -p "$stage/licences"
x86_64-w64-mingw32-strip -o "$stage/pellax-rim.exe" build/windows/pellax-rim.exe
cp README.md "$stage/README.md"
# The program holds the C++ runtime, the mingw-w64 runtime, zlib and the JSON
# library; each licence text as Debian ships it.
for licence in gcc-mingw-w64-base:gcc-runtime mingw-w64-common:mingw-w64 \
               libz-mingw-w64-dev:zlib nlohmann-json3-dev:nlohmann-json; do
  cp "/usr/share/doc/${licence%%:*}/copyright" "$stage/licences/${licence#*:}.txt"
done
zip_file=build/windows/pellax-rim-$version-windows.zip
rm -f "$zip_file"
(cd build/windows/zip && zip -qrX "../$(basename "$zip_file")" "pellax-rim-$version")
echo "built build/windows/pellax-rim.exe and $zip_file"

if [ "${1:-}" = --check ]; then sh tests/windows/check.sh; fi
