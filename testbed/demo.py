"""Runs the installer under Wine for a person to look at.

With a DISPLAY (and an X server that accepts us), the window appears there and
the demo waits until it is closed. Without one, it runs on a private Xvfb, saves
a screenshot of the window, closes it with Alt+F4 and prints where the picture is.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "harness"))
import wintest  # noqa: E402


def main(installer):
    installer = wintest.place_on_drive_c(installer)
    display = os.environ.get("DISPLAY")
    if not os.environ.get("TESSARO_XVFB"):
        print(f"demo: showing the installer on {display}; close it with Alt+F4")
        program = wintest.WineProgram(installer, display=display)
        code = program.process.wait()
        print(f"demo: the installer ended with exit code {code}")
        return

    with wintest.xvfb() as headless:
        program = wintest.WineProgram(installer, display=headless)
        try:
            window = wintest.find_window(headless, title="^Tessaro$")
            shot = wintest.screenshot(headless, "demo_start", window)
            screen = wintest.screenshot(headless, "demo_screen")
            print(f"demo: window screenshot: {shot}")
            print(f"demo: whole screen: {screen}")
            wintest.key(headless, window, "alt+F4")
            print(f"demo: the installer ended with exit code {program.wait(30)}")
        finally:
            program.kill()


if __name__ == "__main__":
    main(sys.argv[1])
