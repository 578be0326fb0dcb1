#!/usr/bin/env python3
"""Map tiles for the tests, on 127.0.0.1 at a port the system picks (printed
first on standard output). GET /MODE/Z/X/Y.png answers a 256x256 tile of one
colour made from Z, X and Y (tileColour in TileServer.h makes the same one).
MODE says how: fresh (max-age of a day), revalidate (expired at once, with
an ETag: a matching If-None-Match gets 304), expired (expired at once, no
ETag), nostore (Cache-Control: no-store), fail (503), hang (no answer).
Each request is logged to LOGFILE as: MODE Z/X/Y STATUS UA=... INM=..."""
import http.server
import re
import socketserver
import struct
import sys
import threading
import time
import zlib

LOG = sys.argv[1]
lock = threading.Lock()


def colour(z, x, y):
    return ((x * 67 + z * 13) % 200 + 30, (y * 43 + z * 29) % 200 + 30, (z * 12) % 200 + 30)


def png(rgb):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    row = b"\x00" + bytes(rgb) * 256
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 256, 256, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(row * 256)) + chunk(b"IEND", b""))


class Tiles(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def note(self, mode, tile, status):
        with lock, open(LOG, "a") as f:
            f.write("%s %s %d UA=%s INM=%s\n" % (mode, tile, status, self.headers.get("User-Agent", "-"),
                                                 self.headers.get("If-None-Match", "-")))

    def do_GET(self):
        m = re.fullmatch(r"/(\w+)/(\d+)/(\d+)/(\d+)\.png", self.path)
        if not m:
            self.send_error(404)
            return
        mode, z, x, y = m.group(1), int(m.group(2)), int(m.group(3)), int(m.group(4))
        tile = "%d/%d/%d" % (z, x, y)
        etag = '"%s"' % tile
        if mode == "hang":
            self.note(mode, tile, 0)
            time.sleep(600)
            return
        if mode == "fail":
            self.note(mode, tile, 503)
            self.send_response(503)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if mode == "revalidate" and self.headers.get("If-None-Match") == etag:
            self.note(mode, tile, 304)
            self.send_response(304)
            self.send_header("ETag", etag)
            self.send_header("Expires", "Thu, 01 Jan 2015 00:00:00 GMT")
            self.end_headers()
            return
        body = png(colour(z, x, y))
        self.note(mode, tile, 200)
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Last-Modified", "Mon, 07 Dec 2026 09:00:00 GMT")
        if mode == "fresh":
            self.send_header("Cache-Control", "max-age=86400")
        elif mode == "revalidate":
            self.send_header("Expires", "Thu, 01 Jan 2015 00:00:00 GMT")
            self.send_header("ETag", etag)
        elif mode == "expired":
            self.send_header("Expires", "Thu, 01 Jan 2015 00:00:00 GMT")
        elif mode == "nostore":
            self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Tiles)
print(server.server_address[1], flush=True)
server.serve_forever()
