"""Starts the gateway fixture for a test and reads back what it was asked.

    with Gateway(["127.0.0.1"], port, routes) as gateway:
        ... run the client ...
        gateway.requests()  # [{"method", "target", "host", "server"}, ...]
"""

import json
import os
import subprocess
import sys
import tempfile

FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gateway_fixture.py")


class Gateway:
    def __init__(self, hosts, port, routes):
        self.dir = tempfile.TemporaryDirectory()
        self.routes_path = os.path.join(self.dir.name, "routes.json")
        self.log_path = os.path.join(self.dir.name, "requests.jsonl")
        self.set_routes(routes)
        self.servers = []
        try:
            for host in hosts:
                server = subprocess.Popen([sys.executable, FIXTURE, "--host", host, "--port", str(port),
                                           "--routes", self.routes_path, "--log", self.log_path],
                                          stdout=subprocess.PIPE, text=True)
                self.servers.append(server)
                if server.stdout.readline().strip() != "ready":
                    raise RuntimeError(f"gateway fixture did not start on {host}:{port}")
        except Exception:
            self.close()
            raise

    def set_routes(self, routes):
        """Replaces the answers; the fixture reads them for every request."""
        with open(self.routes_path, "w", encoding="utf-8") as f:
            json.dump(routes, f)

    def requests(self):
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def close(self):
        for server in self.servers:
            server.terminate()
            server.wait()
        self.servers = []
        self.dir.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
