"""An installer without its skin archive tells the user so in a message box
and ends the run without showing its window."""

import os
import unittest

import wizard
from wizard import wintest

INSTALLER = os.environ["TESSARO_INSTALLER_WITHOUT_SKIN"]


class MissingSkinTest(unittest.TestCase):
    def test_message_box_then_the_run_ends(self):
        path = wintest.place_on_drive_c(INSTALLER, folder="users/root/Downloads/pages",
                                        name="TessaroSetup_noskin.exe")
        with wintest.xvfb() as display:
            program = wintest.WineProgram(path, display=display)
            try:
                box = wintest.find_window(display, title="^错误$")
                wintest.screenshot(display, "pages_missing_skin_message", box)
                self.assertEqual(wizard.visible_windows(display), {})
                wintest.key(display, box, "Return")
                self.assertEqual(program.wait(60), 0)
            finally:
                program.kill()


if __name__ == "__main__":
    unittest.main()
