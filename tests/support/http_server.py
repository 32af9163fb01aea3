#!/usr/bin/env python3
"""The download tests' HTTP server: standard library only, loopback only, bounded lifetime.

Serves the files of --root. Path segments before the file name select behaviours:
  /files/a.exe                 plain: Content-Length, honours "Range: bytes=n-" with 206
  /nolength/a.exe              no Content-Length (the connection's end marks the body's end)
  /lie=N/a.exe                 announces Content-Length N whatever the real size
  /cut=N/a.exe                 sends N body bytes, then resets the connection
  /rate=N/a.exe                at most N bytes per second (N is raised to 4096 at least)
  /norange/a.exe               ignores Range and answers 200 with the whole file
  /hold=S/a.exe                waits S seconds (at most 30) before the headers
  /stall=N/a.exe               sends the headers and N body bytes, then nothing until the
                               client goes away (or the server's lifetime ends)
  /status=N/a.exe              answers status N with a short body instead of the file
  /reset/a.exe                 resets the connection before any answer
  /times=K/.../a.exe           the faults of the segments after it (cut, stall, status, reset,
                               hold) hit only the first K requests for the same path
  /to=https:P/rest/a.exe       answers 302 to https://localhost:P/rest/a.exe (http:P goes to
                               127.0.0.1:P; to=here gives the path /rest/a.exe alone)
Several may be combined: /nolength/cut=5000/a.exe. A missing file answers 404.

With --tls NAME=PEM (the certificate and its key; repeatable) the same files are served over
TLS on a port of their own for each. The chosen port is printed as "PORT <n>" on the first
line of stdout (and written to --port-file, followed by a line "NAME <port>" per TLS port). Every request is appended to --log as "<path> range=<Range> agent=<User-Agent>".
The server exits by itself after --lifetime seconds (default 300, at most 3600).
"""
import argparse
import os
import select
import socket
import ssl
import struct
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MIN_RATE = 4096
MAX_HOLD = 30.0
BLOCK = 65536


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "TessaraTest/1"

    def log_message(self, fmt, *args):  # quiet: the request log is our own
        pass

    def record(self):
        if self.server.log_path:
            line = "%s range=%s agent=%s\n" % (
                self.path, self.headers.get("Range", "-"), self.headers.get("User-Agent", "-"))
            with self.server.log_lock, open(self.server.log_path, "a") as log:
                log.write(line)

    def do_GET(self):
        self.record()
        segments = [s for s in self.path.split("?")[0].split("/") if s]
        if not segments:
            self.send_error(404)
            return
        name = segments[-1]
        opts = {}
        for i, seg in enumerate(segments[:-1]):
            key, _, value = seg.partition("=")
            opts[key] = value
            if key == "to":
                scheme, _, port = value.partition(":")
                rest = "/" + "/".join(segments[i + 1:])
                host = "localhost" if scheme == "https" else "127.0.0.1"
                self.send_response(302)
                self.send_header("Location", rest if value == "here" else
                                 "%s://%s:%s%s" % (scheme, host, port, rest))
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
        with self.server.log_lock:
            seen = self.server.seen.get(self.path, 0)
            self.server.seen[self.path] = seen + 1
        if "times" in opts and seen >= int(opts["times"]):
            for fault in ("cut", "stall", "status", "reset", "hold"):
                opts.pop(fault, None)
        if "reset" in opts:
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            return
        if "status" in opts:
            self.send_error(int(opts["status"]))
            return
        path = os.path.join(self.server.root, name)
        if "/" in name or name.startswith(".") or not os.path.isfile(path):
            self.send_error(404)
            return
        if "hold" in opts:
            time.sleep(min(float(opts["hold"] or 0), MAX_HOLD))
        size = os.path.getsize(path)
        start = 0
        status = 200
        rng = self.headers.get("Range")
        if rng and "norange" not in opts and rng.startswith("bytes=") and rng.endswith("-"):
            try:
                start = int(rng[len("bytes="):-1])
            except ValueError:
                start = -1
            if start < 0 or start >= size:
                self.send_response(416)
                self.send_header("Content-Range", "bytes */%d" % size)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
        self.send_response(status)
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        if "lie" in opts:
            self.send_header("Content-Length", opts["lie"])
        elif "nolength" not in opts:
            self.send_header("Content-Length", str(size - start))
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        self.end_headers()

        cut = int(opts["cut"]) if "cut" in opts else None
        if "stall" in opts:
            cut = int(opts["stall"] or 0)
        rate = max(int(opts["rate"]), MIN_RATE) if "rate" in opts else None
        sent = 0
        began = time.monotonic()
        with open(path, "rb") as f:
            f.seek(start)
            while True:
                want = BLOCK
                if rate is not None:
                    want = min(want, max(rate // 20, 1))
                if cut is not None:
                    want = min(want, cut - sent)
                    if want <= 0:
                        break
                data = f.read(want)
                if not data:
                    break
                try:
                    self.wfile.write(data)
                    self.wfile.flush()
                except OSError:
                    return
                sent += len(data)
                if rate is not None:
                    ahead = sent / rate - (time.monotonic() - began)
                    if ahead > 0:
                        time.sleep(ahead)
        if "stall" in opts:
            self.hold_until_client_leaves()
            return
        if cut is not None:
            # A reset, not an orderly close: the client sees the transfer break off. It comes
            # once the client has read what was sent: a reset drops what it has not read yet.
            try:
                self.wfile.flush()
                time.sleep(0.5)
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                           struct.pack("ii", 1, 0))
            except OSError:
                pass
            self.close_connection = True


    def hold_until_client_leaves(self):
        # Nothing more is sent; the request's end is seen when the client closes its side.
        try:
            self.wfile.flush()
            while True:
                ready, _, _ = select.select([self.connection], [], [], 1.0)
                if ready and not self.connection.recv(4096):
                    break
        except OSError:
            pass
        self.close_connection = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=300.0)
    parser.add_argument("--tls", action="append", default=[])
    args = parser.parse_args()

    servers = [("", None)] + [tuple(given.split("=", 1)) for given in args.tls]
    seen = {}
    log_lock = threading.Lock()
    for i, (label, pem) in enumerate(servers):
        server = ThreadingHTTPServer(("127.0.0.1", args.port if i == 0 else 0), Handler)
        server.daemon_threads = True
        server.root = os.path.abspath(args.root)
        server.log_path = args.log
        server.log_lock = log_lock
        server.seen = seen
        if pem:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(pem)
            server.socket = context.wrap_socket(server.socket, server_side=True)
        servers[i] = (label, server)
        if i > 0:
            threading.Thread(target=server.serve_forever, daemon=True).start()
    port = servers[0][1].server_address[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
            for label, server in servers[1:]:
                f.write("%s %d\n" % (label, server.server_address[1]))
        os.replace(args.port_file + ".tmp", args.port_file)
    print("PORT %d" % port, flush=True)
    server = servers[0][1]

    lifetime = min(max(args.lifetime, 1.0), 3600.0)
    timer = threading.Timer(lifetime, lambda: os._exit(0))
    timer.daemon = True
    timer.start()
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
