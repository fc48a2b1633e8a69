#!/usr/bin/env python3
"""Serves the web page's folder on 127.0.0.1, compressed, and cached by the browser.

    serve-web.py FOLDER PORT

Every text and sound file is compressed before the first request, with brotli (the `brotli`
command, when installed) and gzip; each request gets the smallest its browser accepts, with its
type, so the program (realtopia.wasm) is compiled while it streams in. Each answer carries an
ETag and Last-Modified: the browser keeps what it fetched and asks again on the next visit, and
an unchanged file is answered "304 Not Modified", without its body.
"""

import email.utils
import gzip
import http.server
import os
import shutil
import subprocess
import sys
import threading

TYPES = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
         '.svg': 'image/svg+xml', '.wav': 'audio/wav', '.png': 'image/png', '.ini': 'text/plain',
         '.json': 'application/json'}
# Worth compressing: text, the program and the sounds (PCM shrinks by a third and more).
COMPRESSED = {'.html', '.js', '.wasm', '.svg', '.wav', '.ini', '.json'}
BROTLI = shutil.which('brotli')


def brotli_compress(data):
    return subprocess.run([BROTLI, '--quality=11', '--stdout', '-'], input=data,
                          stdout=subprocess.PIPE, check=True).stdout


class Variants:
    """A file's bodies by encoding ('' for none), made once per version of the file."""

    def __init__(self):
        self.lock = threading.Lock()
        self.cache = {}  # path -> (mtime_ns, size, {encoding: bytes})

    def get(self, path):
        stat = os.stat(path)
        key = (stat.st_mtime_ns, stat.st_size)
        with self.lock:
            cached = self.cache.get(path)
            if cached and cached[:2] == key:
                return stat, cached[2]
            with open(path, 'rb') as file:
                data = file.read()
            bodies = {'': data}
            if os.path.splitext(path)[1].lower() in COMPRESSED:
                bodies['gzip'] = gzip.compress(data, 9, mtime=0)
                if BROTLI:
                    bodies['br'] = brotli_compress(data)
            self.cache[path] = key + (bodies,)
            return stat, bodies

    def prepare(self, folder):
        for root, _, names in os.walk(folder):
            for name in names:
                self.get(os.path.join(root, name))


VARIANTS = Variants()


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_HEAD(self):
        self.answer(head=True)

    def do_GET(self):
        self.answer(head=False)

    def answer(self, head):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        if not os.path.isfile(path):
            self.send_error(404)
            return
        stat, bodies = VARIANTS.get(path)
        accepted = {part.split(';')[0].strip() for part in self.headers.get('Accept-Encoding', '').split(',')}
        encoding = min((e for e in bodies if e == '' or e in accepted), key=lambda e: len(bodies[e]))
        etag = '"%x-%x%s"' % (stat.st_mtime_ns, stat.st_size, '-' + encoding if encoding else '')
        modified = email.utils.formatdate(stat.st_mtime, usegmt=True)
        fresh = self.headers.get('If-None-Match')
        if fresh is not None:
            unchanged = etag in [tag.strip() for tag in fresh.split(',')] or fresh.strip() == '*'
        else:
            since = self.headers.get('If-Modified-Since')
            unchanged = since is not None and since == modified
        self.send_response(304 if unchanged else 200)
        self.send_header('ETag', etag)
        self.send_header('Last-Modified', modified)
        # Kept by the browser, and checked with the validators before each use: a rebuilt page
        # is seen at once, an unchanged one costs a few headers.
        self.send_header('Cache-Control', 'no-cache')
        self.send_header('Vary', 'Accept-Encoding')
        if unchanged:
            self.end_headers()
            return
        body = bodies[encoding]
        self.send_header('Content-Type', TYPES.get(os.path.splitext(path)[1].lower(), 'application/octet-stream'))
        if encoding:
            self.send_header('Content-Encoding', encoding)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    if not BROTLI:
        print('serve-web.py: no brotli command (bash scripts/install-deps.sh web); gzip only', file=sys.stderr)
    VARIANTS.prepare(folder)
    handler = lambda *args, **kwargs: Handler(*args, directory=folder, **kwargs)
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print('serving %s at http://127.0.0.1:%d/' % (folder, server.server_address[1]), flush=True)
        server.serve_forever()


if __name__ == '__main__':
    main()
