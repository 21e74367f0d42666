#!/usr/bin/env python3
"""A stand-in for the maker's install-report service, on loopback only.

    python3 report_service.py --port P [--host 127.0.0.1]

    POST /v1/install/nequil   a multipart/form-data report; its fields are
                              kept, and the answer depends on the mode
    GET  /control/<mode>      sets the mode for the reports that follow:
                                json   200 {} (the start mode)
                                code   200 {"code": "server.success", "data": {}}
                                text   200 with a body that is not JSON
                                stall  reads the report and never answers
                                close  closes the connection without a reply
    GET  /log                 every report kept, oldest first: a JSON list of
                              {"target", "content_type", "fields": {name: value}}
    GET  /reset               forgets the reports and goes back to mode json

Everything else answers 404.
"""

import argparse
import json
import socketserver
import threading
import time

REPLIES = {"json": b"{}", "code": b'{"code": "server.success", "data": {}}', "text": b"thanks, not json"}


def read_request(sock):
    data = b""
    while b"\r\n\r\n" not in data:
        piece = sock.recv(4096)
        if not piece:
            return None, None
        data += piece
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    length = int(headers.get("content-length", "0") or "0")
    while len(body) < length:
        piece = sock.recv(65536)
        if not piece:
            break
        body += piece
    return lines[0], (headers, body)


def form_fields(content_type, body):
    """The fields of a multipart/form-data body as {name: value}."""
    marker = "boundary="
    if marker not in content_type:
        return {}
    boundary = content_type.split(marker, 1)[1].strip().strip('"').encode("latin-1")
    fields = {}
    for part in body.split(b"--" + boundary)[1:]:
        if part.startswith(b"--"):
            break
        head, _, value = part.lstrip(b"\r\n").partition(b"\r\n\r\n")
        name = None
        for line in head.decode("latin-1").split("\r\n"):
            if line.lower().startswith("content-disposition:") and 'name="' in line:
                name = line.split('name="', 1)[1].split('"', 1)[0]
        if name is not None:
            fields[name] = value[:-2].decode("utf-8", "replace") if value.endswith(b"\r\n") else value.decode(
                "utf-8", "replace")
    return fields


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        line, request = read_request(self.request)
        if line is None:
            return
        method, target = (line.split(" ") + ["", ""])[:2]
        service = self.server
        if method == "GET" and target.startswith("/control/"):
            service.mode = target[len("/control/"):]
            self.send(b"ok")
        elif method == "GET" and target == "/log":
            with service.lock:
                self.send(json.dumps(service.reports).encode())
        elif method == "GET" and target == "/reset":
            with service.lock:
                service.reports = []
                service.mode = "json"
            self.send(b"ok")
        elif method == "POST" and target.split("?", 1)[0] == "/v1/install/nequil":
            headers, body = request
            with service.lock:
                service.reports.append({"target": target, "content_type": headers.get("content-type", ""),
                                        "fields": form_fields(headers.get("content-type", ""), body)})
            self.answer(service.mode)
        else:
            self.send(b"", 404)

    def answer(self, mode):
        if mode == "close":
            return
        if mode == "stall":
            self.request.settimeout(120)
            try:
                while self.request.recv(4096):
                    pass
            except OSError:
                pass
            return
        self.send(REPLIES.get(mode, REPLIES["json"]))

    def send(self, body, status=200):
        head = ("HTTP/1.1 %d X\r\nContent-Type: application/json\r\nContent-Length: %d\r\n"
                "Connection: close\r\n\r\n" % (status, len(body)))
        try:
            self.request.sendall(head.encode("latin-1") + body)
        except OSError:
            pass


class ReportService(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, host="127.0.0.1", port=0):
        if not host.startswith("127."):
            raise ValueError("the report service listens on loopback only")
        super().__init__((host, port), Handler)
        self.port = self.server_address[1]
        self.lock = threading.Lock()
        self.reports = []
        self.mode = "json"

    def __enter__(self):
        threading.Thread(target=self.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.shutdown()
        self.server_close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    args = parser.parse_args()
    with ReportService(args.host, args.port):
        print("ready", flush=True)
        while True:
            time.sleep(3600)


if __name__ == "__main__":
    main()
