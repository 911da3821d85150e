"""Serves a folder on 127.0.0.1 with the types a web page and its
WebAssembly need (Python's own table lacks .wasm and .webmanifest), its
text and code gzipped for a browser that accepts it, as a real host would
(Python's standard library has no brotli).
    python3 tools/serve_page.py FOLDER PORT"""
import functools
import gzip
import http.server
import os
import sys
import threading

TYPES = {
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".js": "text/javascript",
}
# PNG is compressed already.
COMPRESSED = {".html", ".js", ".wasm", ".webmanifest", ".json", ".css", ".svg", ".txt"}


def accepts_gzip(header):
    """True when Accept-Encoding names gzip (or *) with a weight above 0."""
    for part in (header or "").split(","):
        name, _, params = part.strip().partition(";")
        if name.strip().lower() not in ("gzip", "*"):
            continue
        weight = params.strip().lower()
        if weight.startswith("q="):
            try:
                return float(weight[2:]) > 0
            except ValueError:
                return False
        return True
    return False


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}
    # Each file's gzipped bytes, by its path, size and time, made once.
    packed = {}
    packing = threading.Lock()

    def gzipped(self, path):
        stat = os.stat(path)
        key = (path, stat.st_size, stat.st_mtime_ns)
        with self.packing:
            if key not in self.packed:
                with open(path, "rb") as f:
                    self.packed[key] = gzip.compress(f.read(), 9, mtime=0)
            return self.packed[key]

    def send_head(self):
        path = self.translate_path(self.path)
        # A folder without its slash is redirected by the base class.
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        _, ext = os.path.splitext(path)
        if (ext not in COMPRESSED or not os.path.isfile(path)
                or not accepts_gzip(self.headers.get("Accept-Encoding"))):
            return super().send_head()
        try:
            body = self.gzipped(path)
        except OSError:
            self.send_error(404, "File not found")
            return None
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Vary", "Accept-Encoding")
        self.end_headers()
        return _Body(body)


class _Body:
    """The bytes send_head hands to copyfile, as a file would be."""

    def __init__(self, data):
        self.data = data

    def read(self, *_):
        data, self.data = self.data, b""
        return data

    def close(self):
        pass


folder, port = sys.argv[1], int(sys.argv[2])
server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
