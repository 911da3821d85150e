"""Serves a folder on 127.0.0.1 with the types a web page and its
WebAssembly need (Python's own table lacks .wasm and .webmanifest).
    python3 tools/serve_page.py FOLDER PORT"""
import functools
import http.server
import sys

handler = http.server.SimpleHTTPRequestHandler
handler.extensions_map.update({
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".js": "text/javascript",
})
folder, port = sys.argv[1], int(sys.argv[2])
server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(handler, directory=folder))
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
