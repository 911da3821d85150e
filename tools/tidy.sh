#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the game folders, the stand-in
# and the program entry, using the
# compile_commands.json of a build folder (made here when it has none yet).
# Any finding fails the script.
#   tools/tidy.sh [BUILD-FOLDER]      default: build/tidy
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/tidy}
if [ ! -f "$build/compile_commands.json" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DPELLAX_TESTS=OFF \
        -DPELLAX_BENCH=OFF >/dev/null
fi
files=()
for folder in app game gfx platform movie wince/core wince/seam wince/headless wince/player \
    wince/desktop runner; do
    for file in "$root/$folder"/*.cpp; do
        # The Windows program's own files are not in a Linux build, and the
        # browser's entry is built by the web preset alone (tools/web.sh).
        case "$file" in *_win32.cpp | */runner/windows*.cpp | */runner/web.cpp) continue ;; esac
        [ -e "$file" ] && files+=("$file")
    done
done
# Two at a time: the machine's two cores.
if printf '%s\n' "${files[@]}" | xargs -P 2 -n 1 clang-tidy -p "$build" --quiet 2>/dev/null; then
    echo "clang-tidy: ${#files[@]} files, no findings"
else
    echo "clang-tidy: findings above" >&2
    exit 1
fi
