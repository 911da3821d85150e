#!/bin/sh
# Checks that every C++ source is as clang-format (.clang-format) leaves it;
# with --fix, formats them in place instead.
#   tools/format.sh [--fix]
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    echo "$files" | xargs clang-format -i
    exit 0
fi
if echo "$files" | xargs clang-format --dry-run --Werror; then
    echo "clang-format: $(echo "$files" | wc -l) files as formatted"
else
    echo "clang-format would change the files above: run sh tools/format.sh --fix" >&2
    exit 1
fi
