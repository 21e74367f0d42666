#!/usr/bin/env python3
"""nginx as the package CDN, for tests and the benchmark.

    python3 cdn.py --port P --mirror-port M --package /pkg/setup.exe=1001 [--limit-rate 4m]

nginx runs as a child process with its own configuration, logs and
temporary folders in a scratch folder (removed afterwards), listening on
the given address only (127.0.0.1 by default). It serves:

    http://HOST:P/<path>            the files, with HEAD and byte ranges
    http://HOST:P/redirect/<path>   302 to http://HOST:M/<path>, the mirror
    http://HOST:P/relative/<path>   302 with the relative Location /<path>
    http://HOST:M/<path>            the same files (the "mirror" address)

Package files hold the bytes of package_content.py. limit_rate throttles
every connection, as many CDNs do.
"""

import argparse
import contextlib
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
import package_content  # noqa: E402

CONFIG = """
user root root;
daemon off;
master_process off;
worker_processes 1;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 256; }}
http {{
  access_log {folder}/access.log;
  client_body_temp_path {folder}/tmp/body;
  proxy_temp_path {folder}/tmp/proxy;
  fastcgi_temp_path {folder}/tmp/fastcgi;
  uwsgi_temp_path {folder}/tmp/uwsgi;
  scgi_temp_path {folder}/tmp/scgi;
  default_type application/octet-stream;
  sendfile on;
  absolute_redirect off;
  {limit}
  server {{
    listen {host}:{port};
    root {www};
    location /redirect/ {{ rewrite ^/redirect/(.*)$ http://{host}:{mirror}/$1 redirect; }}
    location /relative/ {{ rewrite ^/relative/(.*)$ /$1 redirect; }}
  }}
  server {{
    listen {host}:{mirror};
    root {www};
  }}
}}
"""


def wait_for_port(host, port, process, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise RuntimeError("nginx ended at start")
        with contextlib.suppress(OSError), socket.create_connection((host, port), timeout=0.2):
            return
        time.sleep(0.05)
    raise RuntimeError("nginx did not listen on %s:%d" % (host, port))


class Cdn:
    """nginx serving packages; use as a context manager. `md5s` maps each
    package path to its MD5."""

    def __init__(self, port, mirror_port, packages, host="127.0.0.1", limit_rate=None, netns_pid=None):
        if not host.startswith(("127.", "10.")):
            raise ValueError("the CDN listens on loopback or a test link only")
        self.host, self.port, self.mirror_port = host, port, mirror_port
        self.packages = packages
        self.limit_rate = limit_rate
        self.netns_pid = netns_pid
        self.folder = None
        self.process = None
        self.md5s = {}

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="tessaro-cdn-")
        os.chmod(self.folder, 0o755)
        www = os.path.join(self.folder, "www")
        for sub in ("body", "proxy", "fastcgi", "uwsgi", "scgi"):
            os.makedirs(os.path.join(self.folder, "tmp", sub))
        for path, size in self.packages.items():
            target = os.path.join(www, path.lstrip("/"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            self.md5s[path] = package_content.write_package(target, size)
        config = os.path.join(self.folder, "nginx.conf")
        limit = "limit_rate %s;" % self.limit_rate if self.limit_rate else ""
        with open(config, "w") as f:
            f.write(CONFIG.format(folder=self.folder, www=www, host=self.host, port=self.port,
                                  mirror=self.mirror_port, limit=limit))
        command = ["nginx", "-c", config, "-p", self.folder]
        if self.netns_pid:
            command = ["nsenter", "-t", str(self.netns_pid), "-n"] + command
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            if not self.netns_pid:
                wait_for_port(self.host, self.port, self.process)
                wait_for_port(self.host, self.mirror_port, self.process)
            else:
                time.sleep(0.5)
        except Exception:
            self.__exit__()
            raise
        return self

    def url(self, path, mirror=False):
        return "http://%s:%d%s" % (self.host, self.mirror_port if mirror else self.port, path)

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--mirror-port", type=int, required=True)
    parser.add_argument("--package", action="append", default=[], help="PATH=SIZE")
    parser.add_argument("--limit-rate")
    args = parser.parse_args()
    # A terminated driver still stops nginx and removes its folder.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    packages = {path: int(size) for path, size in (item.split("=", 1) for item in args.package)}
    with Cdn(args.port, args.mirror_port, packages, args.host, args.limit_rate) as cdn:
        for path, md5 in cdn.md5s.items():
            print("%s %s" % (cdn.url(path), md5), flush=True)
        print("ready", flush=True)
        while True:
            time.sleep(3600)


if __name__ == "__main__":
    main()
