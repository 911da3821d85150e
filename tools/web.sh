#!/bin/sh
# The game in a web page: builds it into build/web and serves it at
# http://127.0.0.1:8080/ (Ctrl+C stops).
#   sh tools/web.sh           build, then serve
#   sh tools/web.sh --build   only build
#   sh tools/web.sh --check   build, then play it in headless Chromium (tests/web);
#                             first its installation, made under node
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh web
# Debian's Emscripten finds its JavaScript parser through Debian's node
# modules, which a node from elsewhere does not look in.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j"${JOBS:-$(nproc)}"
page=build/web
size=$(cat $page/index.html $page/pellax-rim.js $page/pellax-rim.wasm $page/manifest.webmanifest \
    $page/sw.js | wc -c)
echo "The page is in $page: $((size / 1024)) KB without its icons."
case "${1:-}" in
--build) ;;
--check)
    # The installation the page makes, its code built for node, is the
    # Linux build's byte for byte.
    cmake --build --preset web --target pellax-rim-make-root >/dev/null
    sh tools/installation_fingerprint.sh --make web node build/web-cmake/pellax-rim-make-root.js
    cd tests/web
    # Installed again when the lockfile changed since (playwright-core, lighthouse).
    [ node_modules/.package-lock.json -nt package-lock.json ] || npm ci --no-audit --no-fund --silent
    # A replay the page keeps verifies in the Linux program, when one is built.
    [ -x ../../build/dev/pellax-rim ] && export PELLAX_RIM_LINUX="$PWD/../../build/dev/pellax-rim"
    node web_test.js ../../$page ;;
*)
    echo "Serving it at http://127.0.0.1:8080/ (Ctrl+C stops)"
    exec python3 tools/serve_page.py "$page" 8080 ;;
esac
