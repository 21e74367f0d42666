"""The channel the installer works out from its file name and version block,
as the gateway sees it in the channel welcome query, and the own version it
sends with the package query."""

import os
import sys
import time
import unittest

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
sys.path.insert(0, os.path.join(ROOT, "testbed", "gateway"))
import wintest  # noqa: E402
import installer_window  # noqa: E402
from gateway_control import Gateway  # noqa: E402

PORT = int(os.environ["TESSARO_GATEWAY_PORT"])
WELCOME = "/applicationService/channel/welcome"
PACKAGE = "/applicationService/installer/getAppVersion"
ROUTES = {
    WELCOME: {"body": {"code": "server.success", "data": {}}},
    PACKAGE: {"body": {"code": "server.success", "data": {"versionCode": "9.9.9.9"}}},
}

CASES = [
    # (installer, file name, channel asked for, version sent)
    ("TESSARO_INSTALLER", "TessaroSetup_ruva3600.exe", "ruva3600", "1.0.0.1"),
    ("TESSARO_INSTALLER", "TessaroSetup_Uxyz.exe", "xyz", "1.0.0.1"),
    ("TESSARO_INSTALLER", "TessaroSetup_abcdefghijk.exe", "abcdefgh", "1.0.0.1"),
    ("TESSARO_INSTALLER", "TessaroSetup.exe", None, "1.0.0.1"),
    ("TESSARO_INSTALLER_V1_97_0_3", "TessaroSetup_abc.exe", "ruva3600", "1.97.0.3"),
    ("TESSARO_INSTALLER_V1_95_0_3", "TessaroSetup_abc.exe", "abc", "1.95.0.3"),
]


class ChannelDetectionTest(unittest.TestCase):
    def run_installer(self, source, name):
        """Runs the installer until both queries had their chance, then closes it."""
        installer = wintest.place_on_drive_c(source, folder="users/root/Downloads/channel", name=name)
        with wintest.xvfb() as display, Gateway(["127.0.0.1"], PORT, ROUTES) as gateway:
            program = wintest.WineProgram(installer, display=display)
            try:
                window = wintest.find_window(display, title="^Tessaro$")
                wintest.wait_until(lambda: any(r["target"].startswith(PACKAGE) for r in gateway.requests()),
                                   30, "no package query")
                time.sleep(1)  # the channel query starts with the package query
                installer_window.close_installer(display, window)
                self.assertEqual(program.wait(60), 0)
            finally:
                program.kill()
            return gateway.requests()

    def test_channel_from_file_name_and_version_block(self):
        for variable, name, channel, version in CASES:
            with self.subTest(installer=variable, name=name):
                requests = self.run_installer(os.environ[variable], name)
                welcome = [r["target"] for r in requests if r["target"].startswith(WELCOME)]
                self.assertEqual(welcome, [f"{WELCOME}?channel={channel}"] if channel else [])
                package = [r["target"] for r in requests if r["target"].startswith(PACKAGE)]
                self.assertEqual(package[0],
                                 f"{PACKAGE}?appId=52718340&versionCode={version}&packageSystemSupport=1")


if __name__ == "__main__":
    unittest.main()
