"""Peers for the socket-side network tests, and runs of the client test program.

The Debian daemons (dnsmasq, nginx, tinyproxy) are configured for one test in a
scratch folder and stopped afterwards; our own fixture servers (in
testbed/fixtures) run as threads of the driver. The client test program runs
under Wine, in the build's test prefix or in a private copy of it, and in
this namespace or in one the test created (Wine opens sockets in the
wineserver, so a private prefix's wineserver is started, and stopped, inside
the namespace whose network the program must see).

Everything here expects to run inside the private network namespace that
tests/harness/in-netns sets up.
"""

import contextlib
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "testbed", "fixtures"))
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))

import wintest  # noqa: E402

CLIENT_TEST = os.environ.get("TESSARO_NET_CLIENT_TEST", "")
DNS_PORT = int(os.environ.get("TESSARO_DNS_PORT", "53"))


def require_private_netns():
    if not wintest._in_private_netns():
        raise wintest.HarnessError("run the network tests through tests/harness/in-netns")


@contextlib.contextmanager
def scratch_folder(name):
    """A folder for one test's configuration and logs, removed afterwards."""
    folder = tempfile.mkdtemp(prefix=f"tessaro-{name}-")
    os.chmod(folder, 0o755)
    try:
        yield folder
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(text)
    return path


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Namespace:
    """A network namespace of the test's own, held by a sleeping process."""

    def __init__(self):
        self.holder = subprocess.Popen(["unshare", "--net", "sleep", "infinity"])
        wintest.wait_until(lambda: self._entered(), 5, "the namespace did not come up")
        self.run("ip", "link", "set", "lo", "up")

    def _entered(self):
        try:
            return os.readlink(f"/proc/{self.holder.pid}/ns/net") != os.readlink("/proc/self/ns/net")
        except OSError:
            return False

    def prefix(self):
        """The command prefix that runs a program inside the namespace."""
        return ["nsenter", f"--net=/proc/{self.holder.pid}/ns/net"]

    def run(self, *command):
        return subprocess.run([*self.prefix(), *command], check=True, capture_output=True, text=True).stdout

    def close(self):
        self.holder.kill()
        self.holder.wait()


class Daemon:
    """A program started for a test, ended with SIGTERM (then SIGKILL)."""

    def __init__(self, command, log_path, netns=None):
        self.log_path = log_path
        self.log = open(log_path, "wb")
        full = [*(netns.prefix() if netns else []), *command]
        self.process = subprocess.Popen(full, stdout=self.log, stderr=subprocess.STDOUT)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()

    def output(self):
        with open(self.log_path, "rb") as log:
            return log.read().decode("utf-8", "replace")


def wait_for_tcp(host, port, daemon, netns=None, seconds=10):
    probe = (f"import socket; socket.create_connection(('{host}', {port}), timeout=1).close()")

    def up():
        if daemon.process.poll() is not None:
            raise wintest.HarnessError(f"{daemon.process.args} ended early:\n{daemon.output()}")
        command = [*(netns.prefix() if netns else []), sys.executable, "-c", probe]
        return subprocess.run(command, capture_output=True).returncode == 0

    wintest.wait_until(up, seconds, f"nothing listens on {host}:{port}")


@contextlib.contextmanager
def dnsmasq(folder, host, port, hosts, extra=()):
    """dnsmasq answering only from `hosts` (lines of an addn-hosts file) and `extra` options."""
    hosts_file = write(os.path.join(folder, "dnsmasq.hosts"), "".join(line + "\n" for line in hosts))
    log = os.path.join(folder, "dnsmasq.queries")
    config = write(os.path.join(folder, "dnsmasq.conf"), "\n".join([
        f"port={port}", f"listen-address={host}", "bind-interfaces", "no-resolv", "no-hosts",
        "no-poll", f"addn-hosts={hosts_file}", "log-queries", f"log-facility={log}",
        "user=root", "pid-file=", *extra]) + "\n")
    daemon = Daemon(["dnsmasq", "--keep-in-foreground", f"--conf-file={config}"],
                    os.path.join(folder, "dnsmasq.out"))
    try:
        def answers():
            if daemon.process.poll() is not None:
                raise wintest.HarnessError(f"dnsmasq ended early:\n{daemon.output()}")
            if not os.path.exists(log):
                return False
            with open(log) as queries:
                return "started" in queries.read()
        wintest.wait_until(answers, 10, "dnsmasq did not start")
        yield log
    finally:
        daemon.stop()


@contextlib.contextmanager
def nginx(folder, host, port, files, netns=None):
    """nginx serving `files` ({path: text}); files under /ssi/ pass the SSI filter,
    which drops their length, so they go out chunked."""
    www = os.path.join(folder, "www")
    for path, text in files.items():
        write(os.path.join(www, path.lstrip("/")), text)
    for sub in ("body", "proxy", "fastcgi", "uwsgi", "scgi"):
        os.makedirs(os.path.join(folder, "nginx-tmp", sub), exist_ok=True)
    tmp = os.path.join(folder, "nginx-tmp")
    config = write(os.path.join(folder, "nginx.conf"), f"""
user root root;
daemon off;
master_process off;
pid {folder}/nginx.pid;
error_log {folder}/nginx.error.log;
events {{ worker_connections 64; }}
http {{
  access_log {folder}/nginx.access.log;
  client_body_temp_path {tmp}/body;
  proxy_temp_path {tmp}/proxy;
  fastcgi_temp_path {tmp}/fastcgi;
  uwsgi_temp_path {tmp}/uwsgi;
  scgi_temp_path {tmp}/scgi;
  default_type text/plain;
  server {{
    listen {host}:{port};
    root {www};
    location /ssi/ {{ ssi on; ssi_types text/plain; }}
  }}
}}
""")
    daemon = Daemon(["nginx", "-c", config, "-p", folder], os.path.join(folder, "nginx.out"), netns)
    try:
        wait_for_tcp(host, port, daemon, netns)
        yield daemon
    finally:
        daemon.stop()


@contextlib.contextmanager
def tinyproxy(folder, host, port, allow, netns=None):
    """tinyproxy listening on host:port for clients from `allow`; CONNECT to any port."""
    log = os.path.join(folder, "tinyproxy.log")
    config = write(os.path.join(folder, "tinyproxy.conf"), "\n".join([
        f"Port {port}", f"Listen {host}", "Timeout 30", f"Allow {allow}", "MaxClients 20",
        f"LogFile \"{log}\"", "LogLevel Info", "DisableViaHeader Yes"]) + "\n")
    daemon = Daemon(["tinyproxy", "-d", "-c", config], os.path.join(folder, "tinyproxy.out"), netns)
    try:
        wait_for_tcp(host, port, daemon, netns)
        yield log
    finally:
        daemon.stop()


@contextlib.contextmanager
def private_prefix(folder):
    """A copy of the test prefix for a test that changes the user's settings
    or must run its wineserver in another namespace."""
    prefix = os.path.join(folder, "wineprefix")
    wintest.copy_prefix(prefix)
    try:
        yield prefix
    finally:
        env = {**os.environ, "WINEPREFIX": prefix}
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True)
        shutil.rmtree(prefix, ignore_errors=True)


def run_client_test(gtest_filter, env, prefix=None, netns=None, seconds=180):
    """Runs the client test program for `gtest_filter`; returns (exit code, output)."""
    require_private_netns()
    if not CLIENT_TEST:
        raise wintest.HarnessError("TESSARO_NET_CLIENT_TEST is not set")
    full_env = {**os.environ, **{key: str(value) for key, value in env.items()}}
    if prefix:
        full_env["WINEPREFIX"] = prefix
    command = [*(netns.prefix() if netns else []), "wine", CLIENT_TEST,
               f"--gtest_filter={gtest_filter}"]
    result = subprocess.run(command, env=full_env, capture_output=True, timeout=seconds)
    output = (result.stdout + result.stderr).decode("utf-8", "replace").replace("\r\n", "\n")
    return result.returncode, output
