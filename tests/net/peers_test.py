"""The HTTP client, CONNECT tunnels and the own DNS resolver against real peers.

Peers on loopback: dnsmasq as the deployment's public resolver (127.0.0.1 on
the test build's DNS port), a resolver that never answers (127.0.0.2), our
scripted HTTP fixture, nginx, scripted CONNECT proxies and tinyproxy. The
client test program runs in the build's test prefix; it never lets the
resolver fall back to the system's servers.
"""

import contextlib
import os
import socket
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peers  # noqa: E402
from connect_proxy import ConnectProxy  # noqa: E402
from http_fixture import HttpFixture  # noqa: E402
from silent_resolver import SilentResolver  # noqa: E402

HOSTS = [
    "127.0.0.1 svc.tessaro.test",
    "127.0.0.5 localhost",  # differs from the system's answer on purpose
    "127.0.0.11 multi.tessaro.test",
    "127.0.0.12 multi.tessaro.test",
    *[f"127.0.1.{n} many.tessaro.test" for n in range(1, 26)],
]
DNS_EXTRA = [
    "cname=alias.tessaro.test,multi.tessaro.test",
    "cname=dangling.tessaro.test,text-only.tessaro.test",
    'txt-record=text-only.tessaro.test,"no address here"',
]
NGINX_FILES = {
    "/index.txt": "static body for tests\n",
    "/ssi/chunked.txt": "c" * 300 + "\n",
}


class NetworkPeers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        peers.require_private_netns()
        cls.stack = contextlib.ExitStack()
        try:
            folder = cls.stack.enter_context(peers.scratch_folder("net-peers"))
            cls.dns_log = cls.stack.enter_context(
                peers.dnsmasq(folder, "127.0.0.1", peers.DNS_PORT, HOSTS, DNS_EXTRA))
            cls.silent = cls.stack.enter_context(SilentResolver("127.0.0.2", peers.DNS_PORT))
            cls.fixture = cls.stack.enter_context(HttpFixture())
            cls.nginx_port = peers.free_port()
            cls.stack.enter_context(peers.nginx(folder, "127.0.0.1", cls.nginx_port, NGINX_FILES))
            cls.tinyproxy_port = peers.free_port()
            cls.tinyproxy_log = cls.stack.enter_context(
                peers.tinyproxy(folder, "127.0.0.1", cls.tinyproxy_port, "127.0.0.1"))
            cls.proxies = {mode: cls.stack.enter_context(ConnectProxy(mode))
                           for mode in ("echo", "split", "407", "short")}
        except BaseException:
            cls.stack.close()
            raise
        cls.env = {
            "TESSARO_HTTP_PORT": cls.fixture.port,
            "TESSARO_NGINX_PORT": cls.nginx_port,
            "TESSARO_TINYPROXY_PORT": cls.tinyproxy_port,
            "TESSARO_PROXY_ECHO_PORT": cls.proxies["echo"].port,
            "TESSARO_PROXY_SPLIT_PORT": cls.proxies["split"].port,
            "TESSARO_PROXY_407_PORT": cls.proxies["407"].port,
            "TESSARO_PROXY_SHORT_PORT": cls.proxies["short"].port,
        }

    @classmethod
    def tearDownClass(cls):
        cls.stack.close()

    def run_client(self, gtest_filter):
        code, output = peers.run_client_test(gtest_filter, self.env)
        self.assertEqual(code, 0, output)
        self.assertIn("[  PASSED  ]", output)
        return output

    def test_http_client_and_tunnels(self):
        self.run_client("HttpClient.*:ProxyTunnel.*")
        with open(self.tinyproxy_log) as log:
            self.assertIn("CONNECT", log.read(), "the tinyproxy case went through tinyproxy")

    def test_dns_resolver(self):
        before = self.silent.received
        self.run_client("DnsResolver.*")
        self.assertEqual(self.silent.received - before, 1, "one query, no retransmission")

    def test_dns_repair_in_a_fresh_process(self):
        self.run_client("DnsRepair.*")
        with open(self.dns_log) as log:
            queries = log.read()
        self.assertIn("query[A] svc.tessaro.test", queries)
        self.assertIn("query[A] localhost", queries)

    def test_nginx_sends_the_ssi_file_chunked_in_lower_case(self):
        # The client test relies on this reply being chunked with a size that has hex letters.
        with socket.create_connection(("127.0.0.1", self.nginx_port), timeout=5) as sock:
            sock.sendall(b"GET /ssi/chunked.txt HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
            reply = b""
            while chunk := sock.recv(65536):
                reply += chunk
        head, _, body = reply.partition(b"\r\n\r\n")
        self.assertIn(b"Transfer-Encoding: chunked", head)
        self.assertNotIn(b"Content-Length", head)
        self.assertTrue(body.startswith(b"12d\r\n"), body[:20])


if __name__ == "__main__":
    unittest.main()
