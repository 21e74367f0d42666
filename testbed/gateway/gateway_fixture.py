#!/usr/bin/env python3
"""A stand-in for the maker's API gateway, for tests on loopback only.

    python3 gateway_fixture.py --host 127.0.0.1 --port P --routes routes.json [--log requests.jsonl]

routes.json maps a path prefix (the request path before "?") to a reply:

    {"/applicationService/installer/getAppVersion": {"status": 200, "body": {...}},
     "/applicationService/channel/welcome": {"status": 200, "body": "raw text"},
     "/applicationService/app/installerConfig": {"stall": true},
     "/gone": {"close": true}}

"body" is sent as JSON when it is an object or list, as it is when a string.
"stall" reads the request and never answers; "close" closes without a reply.
A path that matches nothing gets 404. The routes file is read again for every
request, so a test can change the gateway's answers while a client runs.
Every request line and Host header is appended to the log as one JSON object.
"""

import argparse
import json
import socketserver
import threading


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        data = b""
        while b"\r\n\r\n" not in data:
            piece = self.request.recv(4096)
            if not piece:
                return
            data += piece
        head = data.split(b"\r\n\r\n", 1)[0].decode("latin-1")
        lines = head.split("\r\n")
        method, target = (lines[0].split(" ") + ["", ""])[:2]
        host = next((line.split(":", 1)[1].strip() for line in lines[1:]
                     if line.lower().startswith("host:")), "")
        self.server.record({"method": method, "target": target, "host": host,
                            "server": "%s:%d" % self.server.server_address})
        reply = self.server.route(target.split("?", 1)[0])
        if reply is None:
            self.send(404, b"")
        elif reply.get("stall"):
            threading.Event().wait(600)
        elif reply.get("close"):
            return
        else:
            body = reply.get("body", "")
            raw = body.encode("utf-8") if isinstance(body, str) else json.dumps(body).encode("utf-8")
            self.send(int(reply.get("status", 200)), raw)

    def send(self, status, body):
        head = (f"HTTP/1.1 {status} X\r\nContent-Type: application/json\r\n"
                f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n")
        self.request.sendall(head.encode("latin-1") + body)


class Gateway(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, routes, log):
        super().__init__(address, Handler)
        self.routes_path = routes
        self.log_path = log
        self.lock = threading.Lock()

    def route(self, path):
        with open(self.routes_path, encoding="utf-8") as f:
            routes = json.load(f)
        matches = [prefix for prefix in routes if path.startswith(prefix)]
        return routes[max(matches, key=len)] if matches else None

    def record(self, entry):
        if not self.log_path:
            return
        with self.lock, open(self.log_path, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--routes", required=True)
    parser.add_argument("--log")
    args = parser.parse_args()
    if not args.host.startswith("127."):
        parser.error("the gateway fixture listens on loopback only")
    with Gateway((args.host, args.port), args.routes, args.log) as server:
        print("ready", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
