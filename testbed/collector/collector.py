#!/usr/bin/env python3
"""Analytics collector for tests and demonstrations of Vexa.dll.

    python3 collector.py --port P --store DIR [--fail-seconds S] [--fail-status N]

Listens on 127.0.0.1 only. Any POST is an upload: a body of JSON lines, one
record each (layout in sdk/README.md). Records are kept in arrival order in
DIR/records.jsonl, each once: a record whose "id" was seen before is
dropped. A well-formed upload is answered 200; a body with a line that is not
a JSON object with a text "id" is refused as a whole with 400.

Reading back:
    GET  /records  every record kept, in arrival order, as a JSON array
    GET  /stats    {"uploads": accepted uploads, "refused": 400s,
                    "failed": simulated failures, "duplicates": dropped copies}
    GET  /health   200 "ok"

Simulating trouble:
    --fail-seconds S / --fail-status N   answer every upload with N (500)
                                         for the first S seconds
    POST /control/fail?seconds=S&status=N  the same from now on
The collector being down is simulated by not starting it (yet).
"""

import argparse
import json
import os
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class RecordStore:
    """Records in arrival order, de-duplicated by id, persisted as JSON lines."""

    def __init__(self, folder):
        os.makedirs(folder, exist_ok=True)
        self.path = os.path.join(folder, "records.jsonl")
        self.lock = threading.Lock()
        self.records = []
        self.ids = set()
        self.stats = {"uploads": 0, "refused": 0, "failed": 0, "duplicates": 0}
        if os.path.exists(self.path):
            with open(self.path, encoding="utf-8") as stored:
                for line in stored:
                    if line.strip():
                        record = json.loads(line)
                        self.records.append(record)
                        self.ids.add(record["id"])

    def add_batch(self, records):
        with self.lock:
            self.stats["uploads"] += 1
            fresh = []
            for record in records:
                if record["id"] in self.ids:
                    self.stats["duplicates"] += 1
                    continue
                self.ids.add(record["id"])
                fresh.append(record)
            with open(self.path, "a", encoding="utf-8") as stored:
                for record in fresh:
                    stored.write(json.dumps(record, ensure_ascii=False) + "\n")
                stored.flush()
                os.fsync(stored.fileno())
            self.records.extend(fresh)

    def count(self, key):
        with self.lock:
            self.stats[key] += 1

    def snapshot(self):
        with self.lock:
            return list(self.records), dict(self.stats)


def parse_batch(body):
    """The records of an upload body, or None when any line is malformed."""
    try:
        text = body.decode("utf-8")
    except UnicodeDecodeError:
        return None
    records = []
    for line in text.split("\n"):
        if not line.strip():
            continue
        try:
            record = json.loads(line)
        except ValueError:
            return None
        if not isinstance(record, dict) or not isinstance(record.get("id"), str) or not record["id"]:
            return None
        records.append(record)
    return records


class FailureWindow:
    """Until `until` (monotonic seconds) every upload is answered `status`."""

    def __init__(self):
        self.lock = threading.Lock()
        self.until = 0.0
        self.status = 500

    def set(self, seconds, status):
        with self.lock:
            self.until = time.monotonic() + seconds
            self.status = status

    def active_status(self):
        with self.lock:
            return self.status if time.monotonic() < self.until else None


def make_handler(store, failures):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def reply(self, status, payload, content_type="application/json"):
            body = payload if isinstance(payload, bytes) else json.dumps(payload, ensure_ascii=False).encode("utf-8")
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            self.close_connection = True

        def read_body(self):
            length = int(self.headers.get("Content-Length", "0"))
            return self.rfile.read(length) if length > 0 else b""

        def do_GET(self):
            records, stats = store.snapshot()
            path = urllib.parse.urlsplit(self.path).path
            if path == "/records":
                self.reply(200, records)
            elif path == "/stats":
                self.reply(200, stats)
            elif path == "/health":
                self.reply(200, b"ok", "text/plain")
            else:
                self.reply(404, {"error": "not found"})

        def do_POST(self):
            body = self.read_body()
            url = urllib.parse.urlsplit(self.path)
            if url.path == "/control/fail":
                query = urllib.parse.parse_qs(url.query)
                failures.set(float(query.get("seconds", ["0"])[0]), int(query.get("status", ["500"])[0]))
                self.reply(200, {"ok": True})
                return
            status = failures.active_status()
            if status is not None:
                store.count("failed")
                self.reply(status, {"error": "simulated failure"})
                return
            records = parse_batch(body)
            if records is None:
                store.count("refused")
                self.reply(400, {"error": "malformed upload"})
                return
            store.add_batch(records)
            self.reply(200, {"accepted": len(records)})

    return Handler


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--store", required=True)
    parser.add_argument("--fail-seconds", type=float, default=0.0)
    parser.add_argument("--fail-status", type=int, default=500)
    args = parser.parse_args(argv)
    store = RecordStore(args.store)
    failures = FailureWindow()
    if args.fail_seconds > 0:
        failures.set(args.fail_seconds, args.fail_status)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), make_handler(store, failures))
    server.daemon_threads = True
    print(f"collector: listening on 127.0.0.1:{args.port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
