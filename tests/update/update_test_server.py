#!/usr/bin/env python3
"""Local HTTP server for the update tests, bound to 127.0.0.1 on a free port.

Serves the folder given as argv[1] like `python3 -m http.server`, and misbehaves on request:
  /_status/<code>/...        answers <code> with the short body "Not Found"
  /_nolength/<path>          serves <path> without a Content-Length (closes instead)
  /_huge/<bytes>/<declared>  streams <bytes> zero bytes, declaring the length when <declared> is 1
  /_slow                     trickles 10,240 bytes every 50 ms for up to a minute
  /_headers                  answers with the request headers it received
  /_trickle                  declares 100 bytes and sends one every 0.5 s (a stalling server)
  /_redirect/<path>          answers 302 with Location /<path> on this server
  /_loop                     answers 302 with Location /_loop, for ever
The chosen port is printed on the first line of stdout.
"""
import http.server
import sys
import time

ROOT = sys.argv[1]
CHUNK = 1 << 20


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=ROOT, **kwargs)

    def log_message(self, *args):
        pass

    def answer(self, code, body, length=True):
        self.send_response(code)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        parts = self.path.split("/")
        try:
            if self.path.startswith("/_status/"):
                self.answer(int(parts[2]), b"Not Found")
            elif self.path.startswith("/_nolength/"):
                with open(self.translate_path(self.path[len("/_nolength"):]), "rb") as f:
                    self.answer(200, f.read(), length=False)
            elif self.path.startswith("/_huge/"):
                self.huge(int(parts[2]), parts[3] == "1")
            elif self.path == "/_slow":
                self.slow()
            elif self.path == "/_trickle":
                self.trickle()
            elif self.path.startswith("/_redirect/"):
                self.redirect(self.path[len("/_redirect"):])
            elif self.path == "/_loop":
                self.redirect("/_loop")
            elif self.path == "/_headers":
                self.answer(200, str(self.headers).encode())
            else:
                super().do_GET()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def huge(self, size, declared):
        self.send_response(200)
        if declared:
            self.send_header("Content-Length", str(size))
        self.end_headers()
        block = bytes(CHUNK)
        while size > 0:
            n = min(size, CHUNK)
            self.wfile.write(block[:n])
            size -= n

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def slow(self):
        self.send_response(200)
        self.send_header("Content-Length", str(10240 * 1200))
        self.end_headers()
        for _ in range(1200):
            self.wfile.write(bytes(10240))
            self.wfile.flush()
            time.sleep(0.05)

    def trickle(self):
        self.send_response(200)
        self.send_header("Content-Length", "100")
        self.end_headers()
        for _ in range(40):
            self.wfile.write(b"1")
            self.wfile.flush()
            time.sleep(0.5)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
