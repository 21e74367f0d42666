"""The installer shows its borderless 600 x 400 main window centred on the
screen, framed by its own 1-pixel grey border, and ends when the user closes
it and confirms the cancel."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402
import installer_window  # noqa: E402

INSTALLER = os.environ["TESSARO_INSTALLER"]
FRAME = (0xC0, 0xC0, 0xC0)


class StartupWindowTest(unittest.TestCase):
    def test_window_shows_centred_and_closes_through_the_cancel_dialog(self):
        with wintest.xvfb() as display:
            program = wintest.WineProgram(wintest.place_on_drive_c(INSTALLER), display=display)
            try:
                window = wintest.find_window(display, title="^Tessaro$")
                x, y, width, height = wintest.window_geometry(display, window)
                self.assertEqual((width, height), (600, 400))
                screen_width, screen_height = wintest.screen_size(display)
                self.assertLessEqual(abs(x - (screen_width - width) // 2), 1)
                self.assertLessEqual(abs(y - (screen_height - height) // 2), 1)

                # Borderless: the very corner pixels are the page's own frame.
                shot = wintest.wait_until(
                    lambda: (lambda path: path if wintest.pixel(path, 0, 0) == FRAME else None)(
                        wintest.screenshot(display, "startup_window", window)),
                    15, "the page was not painted")
                self.assertEqual(wintest.pixel(shot, 599, 399), FRAME)

                installer_window.close_installer(display, window)
                self.assertEqual(program.wait(30), 0)
            finally:
                program.kill()


if __name__ == "__main__":
    unittest.main()
