#!/bin/sh
# Checks that every C++ source and every JavaScript file is as clang-format
# (.clang-format) leaves it, and lints the JavaScript with eslint
# (.eslintrc.yml); with --fix, formats them all in place instead.
#   tools/format.sh [--fix]
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' '*.js')
if [ "${1:-}" = "--fix" ]; then
    echo "$files" | xargs clang-format -i
    exit 0
fi

status=0
if echo "$files" | xargs clang-format --dry-run --Werror; then
    echo "clang-format: $(echo "$files" | wc -l) files as formatted"
else
    echo "clang-format would change the files above: run sh tools/format.sh --fix" >&2
    status=1
fi

# Debian's eslint finds its modules through Debian's node folder, which a node
# from elsewhere does not look in.
command -v eslint >/dev/null || { echo "eslint is not installed (sh tools/deps.sh)" >&2; exit 1; }
js=$(git ls-files '*.js')
# shellcheck disable=SC2086 # one word a file
if NODE_PATH=/usr/share/nodejs eslint $js; then
    echo "eslint: $(echo "$js" | wc -l) files, no findings"
else
    status=1
fi
exit $status
