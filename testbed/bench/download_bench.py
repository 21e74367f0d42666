#!/usr/bin/env python3
"""Download benchmark: the installer's downloader against curl (not a test).

    python3 testbed/bench/download_bench.py --build /path/to/test-build [--size-mib 64] [--runs 1]

Downloads one package with both ranges, with a single range forced, and with
curl (native, over the same path), in three settings, and prints the times
side by side with each one's ratio to curl:

  (a) a link capped at 100 Mbit/s: the server in a network namespace of its
      own, joined to the client's by a veth pair with a tbf qdisc on both ends
  (b) a server that throttles every connection to 4 MB/s (nginx limit_rate),
      on loopback: two ranges should be near twice as fast
  (c) plain loopback, which shows the client's own CPU cost

and then, against the fault server, the bytes fetched twice after the
connection is dropped once at 50 % of the transfer.

The client is download_bench_client.exe of the test build, run under Wine in
that build's prefix. Run from the host, the script re-runs itself through
tests/harness/in-netns (a private network namespace with only loopback, made
with unshare --net, where the prefix's wineserver also runs); inside it, it
makes the server namespace with unshare --net and the veth pair itself.
Nothing leaves the machine.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
for folder in (("tests", "harness"), ("testbed", "fixtures"), ("testbed", "cdn")):
    sys.path.insert(0, os.path.join(ROOT, *folder))
import package_content  # noqa: E402
from cdn import Cdn  # noqa: E402
from fault_server import FaultServer  # noqa: E402

MIB = 1024 * 1024
LINK_CLIENT, LINK_SERVER = "10.200.0.1", "10.200.0.2"
TBF = ["tbf", "rate", "100mbit", "burst", "128kb", "latency", "50ms"]
PACKAGE = "/pkg/bench.bin"


def sh(*command, check=True):
    return subprocess.run(command, check=check, capture_output=True, text=True)


def in_private_netns():
    with open("/proc/self/net/dev") as dev:
        return [line.split(":")[0].strip() for line in dev.readlines()[2:]] == ["lo"]


class Link:
    """A server namespace joined to this one by a veth pair capped at 100 Mbit/s."""

    def __enter__(self):
        self.holder = subprocess.Popen(["unshare", "--net", "sleep", "3600"])
        time.sleep(0.3)
        pid = str(self.holder.pid)
        sh("ip", "link", "add", "tbench0", "type", "veth", "peer", "name", "tbench1", "netns", pid)
        sh("ip", "addr", "add", LINK_CLIENT + "/24", "dev", "tbench0")
        sh("ip", "link", "set", "tbench0", "up")
        sh("tc", "qdisc", "add", "dev", "tbench0", "root", *TBF)
        inside = ["nsenter", "-t", pid, "-n"]
        sh(*inside, "ip", "link", "set", "lo", "up")
        sh(*inside, "ip", "addr", "add", LINK_SERVER + "/24", "dev", "tbench1")
        sh(*inside, "ip", "link", "set", "tbench1", "up")
        sh(*inside, "tc", "qdisc", "add", "dev", "tbench1", "root", *TBF)
        return self

    @property
    def pid(self):
        return self.holder.pid

    def __exit__(self, *exc):
        sh("ip", "link", "del", "tbench0", check=False)
        self.holder.terminate()
        self.holder.wait()


class Bench:
    def __init__(self, build, size):
        self.client = os.path.join(build, "tests", "download", "download_bench_client.exe")
        self.size = size
        self.prefix_folder = os.path.join(os.environ["WINEPREFIX"], "drive_c", "tessaro-bench")
        self.scratch = tempfile.mkdtemp(prefix="tessaro-bench-")

    def ours(self, url, ranges):
        """Seconds our downloader took to make the package ready."""
        shutil.rmtree(self.prefix_folder, ignore_errors=True)
        os.makedirs(self.prefix_folder)
        result = subprocess.run(["wine", self.client, url, str(ranges), "C:\\tessaro-bench"],
                                capture_output=True, text=True, timeout=900)
        fields = dict(item.split("=", 1) for item in result.stdout.split() if "=" in item)
        shutil.rmtree(self.prefix_folder, ignore_errors=True)
        if result.returncode != 0 or int(fields.get("bytes", "0")) != self.size:
            raise RuntimeError("client failed: %s %s" % (result.stdout, result.stderr[-500:]))
        return int(fields["ready_ms"]) / 1000.0

    def curl(self, url, extra=()):
        target = os.path.join(self.scratch, "curl.bin")
        if os.path.exists(target):
            os.remove(target)
        result = subprocess.run(["curl", "-s", "-o", target, "-w", "%{time_total}", *extra, url],
                                capture_output=True, text=True, timeout=900)
        if os.path.getsize(target) != self.size:
            raise RuntimeError("curl fetched %d bytes" % os.path.getsize(target))
        return float(result.stdout.strip().split()[-1])

    def timings(self, url, runs):
        both = statistics.median(self.ours(url, 2) for _ in range(runs))
        single = statistics.median(self.ours(url, 1) for _ in range(runs))
        native = statistics.median(self.curl(url) for _ in range(runs))
        return both, single, native

    def refetched(self, faults, label, fetch):
        """Bytes sent beyond the package size when the transfer is cut once at 50 %."""
        key = "bench-drop-%s-%d" % (label, time.monotonic_ns())
        url = "http://127.0.0.1:%d/pkg/size=%d,droptotal=%d,key=%s/bench.bin" % (
            faults.port, self.size, self.size // 2, key)
        fetch(url)
        return faults.state(key).body_bytes - self.size

    def close(self):
        shutil.rmtree(self.scratch, ignore_errors=True)


def free_port():
    import socket
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run(args):
    size = args.size_mib * MIB
    bench = Bench(args.build, size)
    rows = []
    drops = None
    try:
        if "a" in args.settings:
            with Link() as link, Cdn(18101, 18102, {PACKAGE: size}, host=LINK_SERVER, netns_pid=link.pid) as cdn:
                wait_http(cdn.url(PACKAGE))
                rows.append(("(a) 100 Mbit/s link (veth + tbf)",) + bench.timings(cdn.url(PACKAGE), args.runs))
        if "b" in args.settings:
            with Cdn(free_port(), free_port(), {PACKAGE: size}, limit_rate="4m") as cdn:
                rows.append(("(b) server at 4 MB/s per connection",) + bench.timings(cdn.url(PACKAGE), args.runs))
        if "c" in args.settings:
            with Cdn(free_port(), free_port(), {PACKAGE: size}) as cdn:
                rows.append(("(c) loopback",) + bench.timings(cdn.url(PACKAGE), args.runs))
        if "d" not in args.settings:
            return print_table(args.size_mib, rows, drops)
        with FaultServer() as faults:
            drops = (bench.refetched(faults, "both", lambda url: bench.ours(url, 2)),
                     bench.refetched(faults, "single", lambda url: bench.ours(url, 1)),
                     bench.refetched(faults, "curl", lambda url: bench.curl(
                         url, ["--retry", "3", "--retry-all-errors", "--retry-delay", "0", "-C", "-"])))
    finally:
        bench.close()
    print_table(args.size_mib, rows, drops)


def wait_http(url, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if subprocess.run(["curl", "-s", "-o", "/dev/null", "-I", url]).returncode == 0:
            return
        time.sleep(0.2)
    raise RuntimeError("no answer from " + url)


def print_table(size_mib, rows, drops):
    print()
    print("Download of a %d MiB package (seconds; median of the runs)" % size_mib)
    header = "%-38s %12s %12s %10s %11s %13s" % ("setting", "both ranges", "single range", "curl",
                                                  "both/curl", "single/curl")
    print(header)
    print("-" * len(header))
    for name, both, single, native in rows:
        print("%-38s %12.2f %12.2f %10.2f %11.2f %13.2f" % (name, both, single, native, both / native,
                                                          single / native))
    if drops is None:
        return
    print()
    print("Bytes fetched twice after one connection drop at 50 %%: both ranges %d, single range %d, "
          "curl (-C - --retry-all-errors) %d" % drops)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the test build folder (download_bench_client.exe, prefix)")
    parser.add_argument("--size-mib", type=int, default=64)
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--settings", default="abcd",
                        help="which to run: a link, b throttled server, c loopback, d drop at 50 %%")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    if not in_private_netns() or "WINEPREFIX" not in os.environ:
        harness = os.path.join(ROOT, "tests", "harness", "in-netns")
        os.execv(harness, [harness, args.build, sys.executable, os.path.abspath(__file__), *sys.argv[1:]])
    if shutil.which("curl") is None:
        sys.exit("curl is needed for the comparison")
    run(args)


if __name__ == "__main__":
    main()
