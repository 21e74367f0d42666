"""Ending an installer run from its start page as a user does: Alt+F4 opens
the cancel confirmation dialog, whose "确认" ends the run."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402

DIALOG_SIZE = (400, 200)
CONFIRM = (250, 164)  # "确认", in design pixels of the dialog


def _dialog(display, seconds=30):
    """The dialog once it has kept its X window for a moment: it gets a new
    one when it turns layered at its first paint."""
    def find():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tessaro$"],
                             env={**os.environ, "DISPLAY": display}, capture_output=True, text=True).stdout
        for window in out.split():
            try:
                if wintest.window_geometry(display, window)[2:] == DIALOG_SIZE:
                    return window
            except wintest.HarnessError:
                pass
        return None

    def stable():
        first = find()
        time.sleep(0.5)
        return first if first is not None and find() == first else None

    return wintest.wait_until(stable, seconds, "no cancel dialog")


def close_installer(display, window):
    """Alt+F4 on the installer's window, then "确认" in the cancel dialog."""
    wintest.key(display, window, "alt+F4")
    wintest.click(display, _dialog(display), *CONFIRM)
