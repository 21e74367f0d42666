"""Helpers for process-level and GUI tests of Windows programs under Wine.

A test starts a private X server, runs a program under Wine in the build
folder's test prefix, waits for its window, clicks at design coordinates
(multiplied by the window scale) and saves screenshots as test artifacts.

Every helper expects to run inside the test network namespace that
tests/harness/in-netns sets up (ctest runs there when started by scripts/test).
"""

import contextlib
import os
import re
import shutil
import subprocess
import time

BUILD_DIR = os.environ.get("TESSARO_BUILD_DIR", "")
ARTIFACTS = os.environ.get("TESSARO_ARTIFACTS", os.path.join(BUILD_DIR, "artifacts"))


class HarnessError(AssertionError):
    pass


def _in_private_netns():
    """True when this process's network namespace has no interface but loopback."""
    with open("/proc/self/net/dev") as dev:
        interfaces = [line.split(":")[0].strip() for line in dev.readlines()[2:]]
    return interfaces == ["lo"]


@contextlib.contextmanager
def xvfb():
    """Yields the X display the test run shares.

    Wine's desktop process serves one X display per wineserver session, so
    tests/harness/in-netns starts one Xvfb before the first Wine program and
    exports DISPLAY; GUI tests take turns on it (ctest RESOURCE_LOCK display).
    """
    display = os.environ.get("DISPLAY")
    if not display:
        raise HarnessError("no DISPLAY: run GUI tests through tests/harness/in-netns")
    yield display


def wait_until(predicate, seconds, message):
    """Polls predicate until it returns a true value; raises with message after seconds."""
    deadline = time.monotonic() + seconds
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise HarnessError(message)
        time.sleep(0.1)


class WineProgram:
    """A Windows program started under Wine on a given X display."""

    def __init__(self, exe, args=(), display=None, env=None, cwd=None):
        if not _in_private_netns():
            raise HarnessError("refusing to run Wine outside a private network namespace")
        self.display = display
        full_env = dict(os.environ)
        if display:
            full_env["DISPLAY"] = display
        full_env.update(env or {})
        self.process = subprocess.Popen(["wine", exe, *args], env=full_env, cwd=cwd,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def wait(self, seconds):
        """Waits for the program to end; returns the low 8 bits of its exit code."""
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired as error:
            raise HarnessError(f"program still running after {seconds} s") from error

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()

    def output(self):
        return self.process.stdout.read().decode("utf-8", "replace") if self.process.stdout else ""


def _xdotool(display, *args):
    result = subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": display},
                            capture_output=True, text=True)
    return result.stdout.strip(), result.returncode


def find_window(display, title=None, x_class=None, seconds=30):
    """Waits for a visible window by title (regex) or X class (Wine: the exe name)."""
    if title is None and x_class is None:
        raise ValueError("give a title or a class")
    query = ["search", "--onlyvisible"]
    query += ["--name", title] if title is not None else ["--class", x_class]

    def found():
        out, code = _xdotool(display, *query)
        return out.split()[0] if code == 0 and out else None

    return wait_until(found, seconds, f"no window with title={title!r} class={x_class!r}")


def window_geometry(display, window):
    """(x, y, width, height) of a window in screen pixels."""
    out, code = _xdotool(display, "getwindowgeometry", "--shell", window)
    if code != 0:
        raise HarnessError(f"window {window} has no geometry")
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screen_size(display):
    out, _ = _xdotool(display, "getdisplaygeometry")
    width, height = out.split()
    return int(width), int(height)


def click(display, window, x, y, scale=1.0):
    """Clicks at design coordinates (x, y) of the window, times its scale."""
    left, top, _, _ = window_geometry(display, window)
    _xdotool(display, "mousemove", str(left + round(x * scale)), str(top + round(y * scale)))
    _xdotool(display, "click", "1")


def key(display, window, keys):
    """Gives the window the keyboard focus and presses keys (xdotool syntax, e.g. alt+F4)."""
    _xdotool(display, "windowfocus", "--sync", window)
    _xdotool(display, "key", "--clearmodifiers", keys)


def screenshot(display, name, window=None):
    """Saves a PNG of the screen (or one window) under the artifacts folder; returns its path."""
    os.makedirs(ARTIFACTS, exist_ok=True)
    safe = re.sub(r"[^A-Za-z0-9_.-]", "_", name)
    path = os.path.join(ARTIFACTS, safe if safe.endswith(".png") else safe + ".png")
    subprocess.run(["import", "-display", display, "-window", window or "root", path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


def pixel(path, x, y):
    """(r, g, b) of one pixel of a PNG, read with ImageMagick."""
    out = subprocess.run(["convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         check=True, capture_output=True, text=True).stdout
    match = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    if not match:
        raise HarnessError(f"cannot read pixel {x},{y} of {path}")
    return tuple(int(v) for v in match.groups())


def drive_c(*parts):
    """A path under the test prefix's C: drive, as Linux sees it."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *parts)


def place_on_drive_c(source, folder="users/root/Downloads", name=None):
    """Copies a program into the prefix's C: drive, where a user would run it.

    Programs started from a Linux path see a module path Windows cannot open,
    so every process test runs its program from C:. Returns the Windows path.
    """
    name = name or os.path.basename(source)
    target_dir = drive_c(*folder.split("/"))
    os.makedirs(target_dir, exist_ok=True)
    shutil.copy(source, os.path.join(target_dir, name))
    return "C:\\" + folder.replace("/", "\\") + "\\" + name


def copy_prefix(target):
    """Copies the test prefix to target, for a test that changes the user's
    settings or runs its own wineserver.

    Other tests create and delete their files in the shared prefix while the
    copy runs; a file or folder that vanishes meanwhile is simply left out.
    """
    def copy_file(source, destination, *, follow_symlinks=True):
        try:
            return shutil.copy2(source, destination, follow_symlinks=follow_symlinks)
        except FileNotFoundError:
            return destination

    try:
        shutil.copytree(os.environ["WINEPREFIX"], target, symlinks=True, copy_function=copy_file)
    except shutil.Error as error:
        # copytree gathers every failure; only vanished entries are acceptable.
        real = [entry for entry in error.args[0] if "No such file" not in str(entry[2])]
        if real:
            raise
    return target


def windows_path(unix_path):
    """The path a Windows program sees for a file of the build folder."""
    return "\\\\?\\unix" + unix_path.replace("/", "\\")


def clean_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path
