"""A server the client cannot reach directly is reached through the user's proxy.

Three network namespaces of this test, joined by veth pairs:

    client 10.77.1.1 ---- 10.77.1.2 proxy 10.77.2.1 ---- 10.77.2.2 server
                               (tinyproxy :8888,             (nginx :80)
                                no forwarding)

The client has no route to 10.77.2.0/24, so its direct connection fails; the
proxy does not forward packets, so only its tunnel reaches the server. The
client test program runs in the client namespace with a private prefix whose
wineserver starts there, and whose user settings name tinyproxy.
"""

import contextlib
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import peers  # noqa: E402

CLIENT, PROXY_IN, PROXY_OUT, SERVER = "10.77.1.1", "10.77.1.2", "10.77.2.1", "10.77.2.2"
PROXY_PORT = 8888


def join(left, left_name, left_address, right, right_name, right_address):
    left.run("ip", "link", "add", left_name, "type", "veth", "peer", "name", right_name,
             "netns", str(right.holder.pid))
    left.run("ip", "addr", "add", left_address + "/24", "dev", left_name)
    left.run("ip", "link", "set", left_name, "up")
    right.run("ip", "addr", "add", right_address + "/24", "dev", right_name)
    right.run("ip", "link", "set", right_name, "up")


def reachable(namespace, host, port):
    probe = f"import socket; socket.create_connection(('{host}', {port}), timeout=2).close()"
    try:
        namespace.run(sys.executable, "-c", probe)
        return True
    except Exception:
        return False


class ProxyRepair(unittest.TestCase):
    def test_client_behind_a_proxy_repairs_its_connection(self):
        peers.require_private_netns()
        with contextlib.ExitStack() as stack:
            client, proxy, server = (peers.Namespace() for _ in range(3))
            for namespace in (client, proxy, server):
                stack.callback(namespace.close)
            join(client, "tc0", CLIENT, proxy, "tp0", PROXY_IN)
            join(proxy, "ps0", PROXY_OUT, server, "sp0", SERVER)
            self.assertEqual(proxy.run("cat", "/proc/sys/net/ipv4/ip_forward").strip(), "0")

            folder = stack.enter_context(peers.scratch_folder("net-proxy-repair"))
            stack.enter_context(peers.nginx(folder, SERVER, 80,
                                            {"/repair.txt": "reached through the proxy\n"}, server))
            proxy_log = stack.enter_context(
                peers.tinyproxy(folder, PROXY_IN, PROXY_PORT, CLIENT, proxy))
            self.assertFalse(reachable(client, SERVER, 80), "the server must be out of direct reach")
            self.assertTrue(reachable(client, PROXY_IN, PROXY_PORT))

            prefix = stack.enter_context(peers.private_prefix(folder))
            env = {"TESSARO_REPAIR_SERVER": SERVER, "TESSARO_REPAIR_PROXY_HOST": PROXY_IN,
                   "TESSARO_REPAIR_PROXY_PORT": PROXY_PORT}
            code, output = peers.run_client_test("ProxyRepair.*", env, prefix=prefix, netns=client)
            self.assertEqual(code, 0, output)
            self.assertIn("[  PASSED  ]", output)
            with open(proxy_log) as log:
                self.assertEqual(log.read().count(f"CONNECT {SERVER}:80"), 2,
                                 "both clients went through the proxy")


if __name__ == "__main__":
    unittest.main()
