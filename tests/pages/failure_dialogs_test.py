"""The progress page's failure dialogs with the real skin, each opened by a
driver over a blank main window: the look at scale 1 (error icon, button
colours; the screenshots are kept) and the outcome of a real click."""

import contextlib
import os
import subprocess
import time
import unittest

import wizard
from wizard import ORANGE, near, region_colors, region_has

import wintest

DRIVER = os.environ["TESSARO_FAILURE_DRIVER"]
GREY_FILL = (0xF2, 0xF2, 0xF2)
# The error icon's disc (between its gradient's two ends).
ICON_ORANGE = (0xFA, 0x8E, 0x36)


class FailureDialogsTest(unittest.TestCase):
    def setUp(self):
        self.display_ctx = wintest.xvfb()
        self.display = self.display_ctx.__enter__()

    def tearDown(self):
        self.display_ctx.__exit__(None, None, None)

    @contextlib.contextmanager
    def driver(self, which):
        """Runs the driver for one dialog; yields the dialog's X window."""
        # The pointer away from the buttons, which would show their hover look.
        subprocess.run(["xdotool", "mousemove", "0", "0"], env={**os.environ, "DISPLAY": self.display},
                       capture_output=True)
        self.program = wintest.WineProgram(DRIVER, [which], display=self.display)
        try:
            yield self.dialog(which)
        finally:
            self.program.kill()
            self.program = None

    def dialog(self, which):
        """The dialog's X window once it has kept it for a moment (a dialog
        gets a new one when it turns layered)."""

        def one():
            found = [w for w, g in wizard.visible_windows(self.display).items() if g[2:] == (400, 200)]
            return found[0] if len(found) == 1 else None

        def stable():
            first = one()
            time.sleep(0.5)
            return first if first is not None and one() == first else None

        return wintest.wait_until(stable, 30, f"no dialog for {which}")

    def shot(self, which, window):
        """A screenshot of the dialog once its orange button is drawn."""
        path = os.path.join(wintest.ARTIFACTS, f"pages_failure_{which}.png")
        os.makedirs(wintest.ARTIFACTS, exist_ok=True)

        def drawn():
            subprocess.run(["import", "-display", self.display, "-window", window, path], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
            return near(wintest.pixel(path, 338, 164), ORANGE, 6)

        wintest.wait_until(drawn, 15, f"{which}: the orange button is not drawn")
        return path

    def test_look_and_answer(self):
        cases = [
            # dialog, design point clicked, exit code
            ("retry-download", (250, 164), 1),
            ("retry-install", (338, 164), 0),
            ("manual-download", (338, 164), 0),
            ("manual-install", (338, 164), 0),
        ]
        for which, (x, y), code in cases:
            with self.subTest(which), self.driver(which) as window:
                path = self.shot(which, window)
                self.assertTrue(near(wintest.pixel(path, 250, 164), GREY_FILL, 6), which)
                self.assertTrue(region_has(path, (24, 46, 31, 40), ICON_ORANGE, 40),
                                f"{which}: no error icon")
                # The headline and the description are drawn.
                self.assertTrue(any(max(c) < 0x80 for c in region_colors(path, 71, 46, 120, 40)), which)
                self.assertTrue(any(max(c) < 0xA0 for c in region_colors(path, 71, 86, 200, 20)), which)
                wintest.click(self.display, window, x, y)
                self.assertEqual(self.program.wait(30), code, which)


if __name__ == "__main__":
    unittest.main()
