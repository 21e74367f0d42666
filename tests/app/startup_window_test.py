"""The installer shows its borderless 600 x 400 window centred on the screen and ends on Alt+F4."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402

INSTALLER = os.environ["TESSARO_INSTALLER"]


class StartupWindowTest(unittest.TestCase):
    def test_window_shows_centred_and_closes_on_alt_f4(self):
        with wintest.xvfb() as display:
            program = wintest.WineProgram(wintest.place_on_drive_c(INSTALLER), display=display)
            try:
                window = wintest.find_window(display, title="^Tessaro$")
                x, y, width, height = wintest.window_geometry(display, window)
                self.assertEqual((width, height), (600, 400))
                screen_width, screen_height = wintest.screen_size(display)
                self.assertLessEqual(abs(x - (screen_width - width) // 2), 1)
                self.assertLessEqual(abs(y - (screen_height - height) // 2), 1)

                shot = wintest.screenshot(display, "startup_window", window)
                # Borderless: the very corner pixel is the window's own white, not a frame.
                self.assertEqual(wintest.pixel(shot, 0, 0), (255, 255, 255))
                self.assertEqual(wintest.pixel(shot, 599, 399), (255, 255, 255))

                wintest.key(display, window, "alt+F4")
                self.assertEqual(program.wait(30), 0)
            finally:
                program.kill()


if __name__ == "__main__":
    unittest.main()
