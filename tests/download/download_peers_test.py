"""The download subsystem and the install report against their testbed peers.

nginx serves the packages as the CDN on the deployment's CDN port (where the
fixed fallback address points) with a mirror on a second port; the fault
server of testbed/fixtures misbehaves as each path asks; the report service
answers on the deployment's report port. download_peer_client.exe runs once
per group of cases and finds the peers through environment variables.
"""

import os
import socket
import subprocess
import sys
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
for folder in (("tests", "harness"), ("testbed", "fixtures"), ("testbed", "cdn"), ("testbed", "report")):
    sys.path.insert(0, os.path.join(ROOT, *folder))
import wintest  # noqa: E402
from cdn import Cdn  # noqa: E402
from fault_server import FaultServer  # noqa: E402
from report_service import ReportService  # noqa: E402

CLIENT = os.environ["TESSARO_DOWNLOAD_CLIENT"]
CDN_PORT = int(os.environ["TESSARO_CDN_PORT"])
REPORT_PORT = int(os.environ["TESSARO_REPORT_PORT"])
FALLBACK_PATH = "/application/soft_package/pc/52718340/software/install.exe"
PACKAGES = {"/pkg/setup.exe": 1001, "/pkg/one.bin": 1, FALLBACK_PATH: 2048}


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class DownloadPeersTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not wintest._in_private_netns():
            raise wintest.HarnessError("run the tests through tests/harness/in-netns")
        cls.mirror_port = free_port()
        cls.cdn = Cdn(CDN_PORT, cls.mirror_port, PACKAGES).__enter__()
        cls.faults = FaultServer().__enter__()
        cls.report = ReportService(port=REPORT_PORT).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.report.__exit__()
        cls.faults.__exit__()
        cls.cdn.__exit__()

    def run_group(self, pattern):
        env = dict(os.environ, TESSARO_FAULT_PORT=str(self.faults.port), TESSARO_MIRROR_PORT=str(self.mirror_port))
        result = subprocess.run(["wine", CLIENT, "--gtest_filter=" + pattern], env=env, capture_output=True,
                                text=True, errors="replace", timeout=280)
        self.assertEqual(result.returncode, 0, result.stdout[-6000:] + result.stderr[-2000:])
        self.assertNotIn("Running 0 tests", result.stdout)

    def test_url_query(self):
        self.run_group("QueryPeer.*")

    def test_download_worker(self):
        self.run_group("WorkerPeer.*")

    def test_downloader(self):
        self.run_group("DownloaderPeer.*")

    def test_install_report(self):
        self.run_group("ReportPeer.*")


if __name__ == "__main__":
    unittest.main()
