"""Starting the collector from a test and reading back what it received.

    with Collector(store_dir) as collector:          # a free port, or port=...
        ... run the program with collector.port ...
        collector.wait_for_records(lambda records: len(records) >= 3)
        events = collector.events()

Records are the JSON objects Vexa.dll uploads (see sdk/README.md); the
helpers below decode the parts tests look at.
"""

import base64
import json
import os
import socket
import subprocess
import sys
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))


def free_port():
    """A TCP port on 127.0.0.1 that nothing listens on right now."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Collector:
    def __init__(self, store, port=None, fail_seconds=0.0, fail_status=500):
        self.store = store
        self.port = port or free_port()
        self.fail_seconds = fail_seconds
        self.fail_status = fail_status
        self.process = None

    def start(self):
        command = [sys.executable, os.path.join(HERE, "collector.py"), "--port", str(self.port),
                   "--store", self.store, "--fail-seconds", str(self.fail_seconds),
                   "--fail-status", str(self.fail_status)]
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("collector ended: " + self.process.stderr.read().decode(errors="replace"))
            try:
                self._get("/health")
                return self
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("collector did not start")

    def stop(self):
        if not self.process:
            return
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        self.process.stderr.close()
        self.process = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def _get(self, path):
        with urllib.request.urlopen(f"http://127.0.0.1:{self.port}{path}", timeout=5) as reply:
            return json.loads(reply.read().decode("utf-8")) if path != "/health" else reply.read()

    def records(self):
        """Every record received, in arrival order, each once."""
        return self._get("/records")

    def stats(self):
        return self._get("/stats")

    def events(self):
        """The event records (kind 6), in arrival order."""
        return [record for record in self.records() if record.get("kind") == 6]

    def fail_for(self, seconds, status=500):
        """Answers every upload with `status` for the next `seconds`."""
        request = urllib.request.Request(
            f"http://127.0.0.1:{self.port}/control/fail?seconds={seconds}&status={status}", data=b"", method="POST")
        with urllib.request.urlopen(request, timeout=5):
            pass

    def wait_for_records(self, predicate, seconds=30):
        """Polls until predicate(records) is true; returns the records or raises."""
        deadline = time.monotonic() + seconds
        while True:
            records = self.records()
            if predicate(records):
                return records
            if time.monotonic() > deadline:
                raise AssertionError(f"collector: condition not met after {seconds} s; have {records!r}")
            time.sleep(0.1)


def properties(record):
    """An event's properties as (key, type, value) tuples in call order."""
    return [(p["key"], p["type"], p["value"]) for p in record.get("properties", [])]


def fields(record):
    """A record's fields as (id, value) pairs in call order: int fields give an
    int, data fields their bytes."""
    result = []
    for field in record.get("fields", []):
        if field["type"] == "int":
            result.append((field["id"], field["value"]))
        else:
            result.append((field["id"], base64.b64decode(field["base64"])))
    return result
