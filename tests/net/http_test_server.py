#!/usr/bin/python3
"""Local HTTP(S) server of the network tests. Standard library only.

Listens on 127.0.0.1 only, on a free port (or --port) that it writes to --port-file, and stops by
itself after --seconds or --max-requests, whichever comes first (the test stops it
earlier by its PID). Every request is logged to standard error.

  /data/N          N bytes (byte i is i mod 251) with Content-Length, sent in 64 KiB writes
  /chunked/N       the same bytes in chunks of 10,000, without length
  /redirect/N      302 to /data/N
  /short/N         announces N bytes, sends half of them and closes
  /slow/N          N bytes with Content-Length, 1 KiB every 20 ms
  /silent          reads the request and never answers
  /text            a fixed text
  /echo/...        the request line's method and path as the body
  POST /post/...   remembers method, path, Content-Type and body; GET /last-post returns
                   them as "METHOD PATH|CONTENT-TYPE|BODY"
  http://www.kalvenbrooker.com/check.txt (as a proxy request): "online"
Anything else is 404.
"""
import argparse
import http.server
import os
import ssl
import sys
import threading
import time

TEXT = b"hello from the server"
SILENT_SECONDS = 60


def pattern(length):
    return (bytes(range(251)) * (length // 251 + 1))[:length]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    last_post = b"none"

    def log_message(self, fmt, *args):
        sys.stderr.write("%s\n" % (fmt % args))

    def count(self):
        self.server.requests += 1
        if self.server.requests >= self.server.max_requests:
            threading.Thread(target=self.server.shutdown, daemon=True).start()

    def reply(self, status, body, content_type="application/octet-stream", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def number(self, prefix):
        try:
            return min(int(self.path[len(prefix):]), 64 * 1024 * 1024)
        except ValueError:
            return 0

    def do_GET(self):
        self.count()
        path = self.path
        if path == "http://www.kalvenbrooker.com/check.txt" or \
                path == "http://www.kalvenbrooker.com:80/check.txt":
            self.reply(200, b"online", "text/plain")
        elif path.startswith("/data/"):
            self.send_data(pattern(self.number("/data/")))
        elif path.startswith("/chunked/"):
            self.send_chunked(pattern(self.number("/chunked/")))
        elif path.startswith("/redirect/"):
            self.reply(302, b"", headers=[("Location", "/data/" + path[len("/redirect/"):])])
        elif path.startswith("/short/"):
            body = pattern(self.number("/short/"))
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[: len(body) // 2])
            self.close_connection = True
        elif path.startswith("/slow/"):
            self.send_data(pattern(self.number("/slow/")), 1024, 0.02)
        elif path == "/silent":
            time.sleep(SILENT_SECONDS)
            self.close_connection = True
        elif path == "/text":
            self.reply(200, TEXT, "text/plain")
        elif path.startswith("/echo/"):
            self.reply(200, ("GET " + path).encode(), "text/plain")
        elif path == "/last-post":
            self.reply(200, Handler.last_post, "text/plain")
        else:
            self.reply(404, b"not found", "text/plain")

    def do_POST(self):
        self.count()
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        content_type = self.headers.get("Content-Type") or ""
        Handler.last_post = ("POST %s|%s|" % (self.path, content_type)).encode() + body
        self.reply(200 if self.path.startswith("/post/") else 404, b"stored", "text/plain")

    def send_data(self, body, piece=64 * 1024, pause=0.0):
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        for start in range(0, len(body), piece):
            self.wfile.write(body[start:start + piece])
            if pause:
                self.wfile.flush()
                time.sleep(pause)

    def send_chunked(self, body):
        self.send_response(200)
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        for start in range(0, len(body), 10000):
            piece = body[start:start + 10000]
            self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
        self.wfile.write(b"0\r\n\r\n")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    requests = 0
    max_requests = 0

    def handle_error(self, request, client_address):
        # Clients that hang up early (a cancelled download) are part of the tests.
        sys.stderr.write("connection from %s ended: %s\n" % (client_address, sys.exc_info()[1]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--seconds", type=float, default=240)
    parser.add_argument("--max-requests", type=int, default=500)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    server = Server(("127.0.0.1", args.port), Handler)
    server.max_requests = args.max_requests
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    timer = threading.Timer(args.seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as port_file:
        port_file.write("%d\n" % server.server_address[1])
    os.replace(temporary, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
