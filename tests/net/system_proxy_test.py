"""The user's system proxy through WinHTTP, and the TCP client's proxy repair on loopback.

The client test program writes the current user's proxy settings, so it runs
in a private copy of the test prefix. Peers: our HTTP fixture (also serving
the automatic configuration scripts) and tinyproxy as the user's proxy.
"""

import contextlib
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peers  # noqa: E402
from http_fixture import HttpFixture  # noqa: E402


class SystemProxy(unittest.TestCase):
    def test_detection_and_repair_through_the_system_proxy(self):
        peers.require_private_netns()
        with contextlib.ExitStack() as stack:
            folder = stack.enter_context(peers.scratch_folder("net-system-proxy"))
            prefix = stack.enter_context(peers.private_prefix(folder))
            fixture = stack.enter_context(HttpFixture())
            tinyproxy_port = peers.free_port()
            tinyproxy_log = stack.enter_context(
                peers.tinyproxy(folder, "127.0.0.1", tinyproxy_port, "127.0.0.1"))
            env = {"TESSARO_HTTP_PORT": fixture.port, "TESSARO_TINYPROXY_PORT": tinyproxy_port}

            # The repair reports once per process, so it runs in a process of its own.
            for gtest_filter in ("SystemProxy.*:ProxyAlternation.FailuresOf*",
                                 "ProxyAlternation.Repaired*"):
                code, output = peers.run_client_test(gtest_filter, env, prefix=prefix)
                self.assertEqual(code, 0, output)
                self.assertIn("[  PASSED  ]", output)
            with open(tinyproxy_log) as log:
                self.assertIn(f"CONNECT 127.0.0.1:{fixture.port}", log.read())


if __name__ == "__main__":
    unittest.main()
