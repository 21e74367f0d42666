"""The installer run as a user starts it: the hand-off file, the single-instance
guard and the per-run work folder."""

import glob
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402
import installer_window  # noqa: E402

INSTALLER = os.environ["TESSARO_INSTALLER"]
CONFIG = ("users", "root", "AppData", "Roaming", "OrvanePkg", "TESSARO", "config.ini")


def read_config():
    with open(wintest.drive_c(*CONFIG), "rb") as f:
        return f.read()


def work_folders():
    return sorted(glob.glob(wintest.drive_c("OrvanePkg_*")))


class StartupSessionTest(unittest.TestCase):
    def setUp(self):
        config = wintest.drive_c(*CONFIG)
        if os.path.exists(config):
            os.remove(config)

    def test_first_run_second_instance_and_work_folder(self):
        installer = wintest.place_on_drive_c(INSTALLER, name="TessaroSetup_ruva3600.exe")
        before = time.time()
        # Folders of earlier programs that were killed stay behind; only ours count.
        earlier = set(work_folders())
        with wintest.xvfb() as display:
            first = wintest.WineProgram(installer, display=display)
            try:
                window = wintest.find_window(display, title="^Tessaro$")

                lines = read_config().decode("utf-8").split("\r\n")
                self.assertEqual(lines[:3], ["[General]", "md5=", "path="])
                self.assertTrue(lines[3].startswith("begin_timestamp="), lines)
                stamp = int(lines[3].split("=", 1)[1])
                self.assertLessEqual(abs(stamp - before), 60)

                running_folders = sorted(set(work_folders()) - earlier)
                self.assertEqual(len(running_folders), 1, running_folders)
                config_while_running = read_config()

                # A second instance wakes the first and leaves without writing anything.
                second = wintest.WineProgram(installer, display=display)
                self.assertEqual(second.wait(60), 0)
                self.assertTrue(first.running())
                self.assertEqual(read_config(), config_while_running)
                self.assertEqual(sorted(set(work_folders()) - earlier), running_folders)

                installer_window.close_installer(display, window)
                self.assertEqual(first.wait(60), 0)
                self.assertEqual(sorted(set(work_folders()) - earlier), [])
            finally:
                first.kill()


if __name__ == "__main__":
    unittest.main()
