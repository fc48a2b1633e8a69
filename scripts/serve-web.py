#!/usr/bin/env python3
"""Serves the web page's folder on 127.0.0.1, gzip-compressed for browsers that accept it.

    serve-web.py FOLDER PORT

Each file is compressed once (kept in memory until it changes) and sent with its type, so the
program (realtopia.wasm) is compiled while it streams in.
"""

import gzip
import http.server
import os
import sys

TYPES = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
         '.svg': 'image/svg+xml', '.wav': 'audio/wav', '.png': 'image/png', '.ini': 'text/plain'}
# Worth compressing: text and the program; the sounds are small and already dense.
COMPRESSED = {'.html', '.js', '.wasm', '.svg'}


class Handler(http.server.SimpleHTTPRequestHandler):
    cache = {}  # path -> (mtime, gzip bytes)

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        extension = os.path.splitext(path)[1].lower()
        accepts = 'gzip' in self.headers.get('Accept-Encoding', '')
        if extension not in COMPRESSED or not accepts or not os.path.isfile(path):
            return super().do_GET()
        mtime = os.stat(path).st_mtime_ns
        cached = self.cache.get(path)
        if not cached or cached[0] != mtime:
            with open(path, 'rb') as file:
                cached = (mtime, gzip.compress(file.read(), 9))
            self.cache[path] = cached
        body = cached[1]
        self.send_response(200)
        self.send_header('Content-Type', TYPES.get(extension, 'application/octet-stream'))
        self.send_header('Content-Encoding', 'gzip')
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def guess_type(self, path):
        return TYPES.get(os.path.splitext(path)[1].lower()) or super().guess_type(path)


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    handler = lambda *args, **kwargs: Handler(*args, directory=folder, **kwargs)
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        server.serve_forever()


if __name__ == '__main__':
    main()
