#!/bin/sh
# Builds what is missing and plays the game in a window.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" --target pellax-rim >/dev/null
exec build/release/pellax-rim "$@"
