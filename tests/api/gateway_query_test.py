"""The package and channel queries against the gateway fixture on loopback.

The fixture answers on 127.0.0.1 and/or the fallback address 127.0.0.2 at the
test build's gateway port; each case of query_client_test.exe runs against the
routes set up for it, and the fixture's request log shows what was asked.
"""

import os
import subprocess
import sys
import unittest

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "testbed", "gateway"))
from gateway_control import Gateway  # noqa: E402

CLIENT = os.environ["TESSARO_QUERY_CLIENT"]
PORT = int(os.environ["TESSARO_GATEWAY_PORT"])
PACKAGE = "/applicationService/installer/getAppVersion"
WELCOME = "/applicationService/channel/welcome"
SUCCESS_PACKAGE = {"code": "server.success",
                   "data": {"downloadUrl": "http://127.0.0.1:18081/pkg/setup.exe",
                            "versionCode": "2.1.0.5", "size": 1234, "md5": "abc"}}
SUCCESS_WELCOME = {"code": "server.success",
                   "data": {"welcomeUrl": "http://127.0.0.1:18084/welcome",
                            "advertisingAccountName": "acc", "nequilOcpc": True}}


class GatewayQueryTest(unittest.TestCase):
    def run_case(self, name, hosts, routes):
        gateway = Gateway(hosts, PORT, routes)
        self.addCleanup(gateway.close)
        result = subprocess.run(["wine", CLIENT, f"--gtest_filter={name}"], capture_output=True, text=True,
                                timeout=120)
        self.assertEqual(result.returncode, 0, result.stdout[-3000:])
        self.assertIn("1 test", result.stdout)
        return gateway.requests()

    def test_fallback_address_answers_in_the_first_pass(self):
        requests = self.run_case("PkgQuery.FallbackAnswersInTheFirstPass", ["127.0.0.2"],
                                 {PACKAGE: {"body": SUCCESS_PACKAGE}})
        self.assertEqual(len(requests), 1)
        self.assertEqual(requests[0]["host"], "127.0.0.2")
        self.assertEqual(requests[0]["target"],
                         PACKAGE + "?appId=52718340&versionCode=1.0.0.1&packageSystemSupport=1")

    def test_invalid_envelope_ends_the_query(self):
        requests = self.run_case("PkgQuery.InvalidEnvelopeFailsWithoutRetrying", ["127.0.0.1"],
                                 {PACKAGE: {"body": {}}})
        self.assertEqual(len(requests), 1)

    def test_stalled_gateway_does_not_hold_the_stop(self):
        self.run_case("PkgQuery.StopsPromptlyWhileTheGatewayStalls", ["127.0.0.1"], {PACKAGE: {"stall": True}})

    def test_channel_welcome(self):
        requests = self.run_case("ServerQuery.ReadsTheWelcomeInformation", ["127.0.0.1"],
                                 {WELCOME: {"body": SUCCESS_WELCOME}})
        self.assertEqual([r["target"] for r in requests], [WELCOME + "?channel=reveza00"])

    def test_no_channel_no_request(self):
        requests = self.run_case("ServerQuery.NoChannelMeansNoRequest", ["127.0.0.1"],
                                 {WELCOME: {"body": SUCCESS_WELCOME}})
        self.assertEqual(requests, [])

    def test_unreachable_gateway(self):
        self.run_case("ServerQuery.UnreachableGatewayFails", ["127.0.0.1"], {})


if __name__ == "__main__":
    unittest.main()
