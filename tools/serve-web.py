#!/usr/bin/env python3
"""Serves a built web page on 127.0.0.1 only: serve-web.py FOLDER [PORT].

Prints the page's address, then serves until interrupted. PORT 0 (the
default) takes a free port. Any static host serves the page as well: it
needs no special headers.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript',
                      '.kyrrec': 'text/plain; charset=utf-8'}

    def log_message(self, *args):
        pass


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit('usage: serve-web.py FOLDER [PORT]')
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 0
    handler = functools.partial(Handler, directory=sys.argv[1])
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print('KYR is served at http://127.0.0.1:%d/ (Ctrl+C stops it)' % server.server_address[1], flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
