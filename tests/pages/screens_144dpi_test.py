"""Every page and the cancel dialog at 144 DPI, in a copy of the test prefix
whose LogPixels is 144: each window is its design size times 1.5 and keeps
its layout (checked at scaled design points); the screenshots are kept."""

import os
import shutil
import subprocess
import unittest

import wizard
from wizard import ORANGE

INSTALLER = os.environ["TESSARO_INSTALLER"]
INSTALLED_APP = os.environ["TESSARO_INSTALLED_APP"]
DRIVER = os.environ["TESSARO_FINISH_DRIVER"]
NAME = "TessaroSetup_ruva3600.exe"
SCALE = 1.5


class Screens144DpiTest(unittest.TestCase):
    def setUp(self):
        self.original = os.environ["WINEPREFIX"]
        self.prefix = os.path.join(os.environ["TESSARO_BUILD_DIR"], "pages-dpi144-prefix")
        shutil.rmtree(self.prefix, ignore_errors=True)
        shutil.copytree(self.original, self.prefix, symlinks=True)
        os.environ["WINEPREFIX"] = self.prefix
        for key in (r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine\Fonts",
                    r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
            wizard.reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144")

    def tearDown(self):
        subprocess.run(["wineserver", "-k"], capture_output=True, timeout=60)
        subprocess.run(["wineserver", "-w"], capture_output=True, timeout=60)
        os.environ["WINEPREFIX"] = self.original
        shutil.rmtree(self.prefix, ignore_errors=True)

    def session(self, program, routes):
        return wizard.Session(program, NAME, routes, scale=SCALE, tag="dpi144_")

    def test_pages_and_dialog(self):
        with self.session(INSTALLER, wizard.gateway_routes()) as run:
            page = run.main_window()
            run.wait_pixel(page, "start", 222, 279, ORANGE)
            run.click(page, 570, 32)
            dialog = run.window_of_size(400, 200)
            run.wait_pixel(dialog, "cancel_dialog", 338, 164, ORANGE)
            run.click(dialog, 338, 164)
            run.gone(400, 200)
            run.click(page, 520, 369)
            run.wait_pixel(page, "custom", 222, 310, ORANGE)
            run.key(page, "alt+F4")
            run.click(run.window_of_size(400, 200), 250, 164)
            self.assertEqual(run.wait_exit(), 0)

        with wizard.InstalledProduct(INSTALLED_APP), \
                self.session(INSTALLER, wizard.gateway_routes(newest="2.1.0.5")) as run:
            reminder = run.window_of_size(400, 200)
            run.wait_pixel(reminder, "reminder", 338, 164, ORANGE)
            run.click(reminder, 383, 15)
            self.assertEqual(run.wait_exit(), 0)

        with self.session(DRIVER, wizard.gateway_routes()) as run:
            page = run.main_window()
            run.wait_pixel(page, "finished", 222, 324, ORANGE)
            run.click(page, 570, 32)
            self.assertEqual(run.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
