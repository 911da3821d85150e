#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the game (app game gfx platform
# movie), the stand-in (wince) and the program entry (runner): every source of
# those folders that a build compiles, as its compile_commands.json lists them.
# The Windows program's own files, those only the windows preset compiles, are
# checked through that build's database (build/windows, configured here when
# it has none yet), by clang for the mingw-w64 target. Any finding fails the
# script.
#   tools/tidy.sh [BUILD-FOLDER]      default: build/tidy
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/tidy}
windows=$root/build/windows
jobs=$(nproc)

# Configured every time: a database made before a source was added or removed
# would name the wrong files.
if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" >/dev/null
else
    cmake -S "$root" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DPELLAX_TESTS=OFF \
        -DPELLAX_BENCH=OFF >/dev/null
fi
if [ -f "$windows/CMakeCache.txt" ]; then
    cmake "$windows" >/dev/null
else
    sh "$root/tools/deps.sh" windows
    (cd "$root" && cmake --preset windows >/dev/null)
fi

# The checked sources a database lists, one a line, sorted.
sources() {
    sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$1/compile_commands.json" |
        grep -E "^$root/(app|game|gfx|platform|movie|wince|runner)/.*\.cpp$" | sort -u
}
mapfile -t native < <(sources "$build")
mapfile -t windows_only < <(comm -13 <(printf '%s\n' "${native[@]}") <(sources "$windows"))

# clang 14 does not find the C++ library of Debian's cross compiler (its
# folder is named 12-posix, not a version): the compiler itself says where it is.
compiler=$(sed -n 's/^ *"command": "\([^ ]*++[^ ]*\) .*/\1/p' "$windows/compile_commands.json" | head -1)
windows_args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
while read -r folder; do
    windows_args+=("--extra-arg=-isystem$folder")
done < <("$compiler" -x c++ -E -v /dev/null -o /dev/null 2>&1 |
    awk '/^#include <...> search starts here:/ { on = 1; next } /^End of search list/ { on = 0 }
         on && $1 ~ /\/c\+\+/ { print $1 }')

[ ${#windows_only[@]} -gt 0 ] || { echo "no Windows program's own files in $windows" >&2; exit 1; }

status=0
printf '%s\n' "${native[@]}" | xargs -P "$jobs" -n 1 clang-tidy -p "$build" --quiet 2>/dev/null ||
    status=1
printf '%s\n' "${windows_only[@]}" |
    xargs -P "$jobs" -n 1 clang-tidy -p "$windows" --quiet "${windows_args[@]}" 2>/dev/null || status=1
if [ $status -eq 0 ]; then
    echo "clang-tidy: ${#native[@]} files and ${#windows_only[@]} of the Windows program, no findings"
else
    echo "clang-tidy: findings above" >&2
    exit 1
fi
