"""Driving the installer's wizard under Wine and Xvfb for the page tests.

A Session places an installer under C: with a chosen file name, starts the
gateway fixture and the analytics collector on the deployment's test ports,
runs the installer and finds its windows. Clicks are at design coordinates
times the window scale. The installed product is simulated by the uninstall
key pointing at a stand-in program with a version block.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
sys.path.insert(0, os.path.join(ROOT, "testbed", "gateway"))
sys.path.insert(0, os.path.join(ROOT, "testbed", "collector"))
import wintest  # noqa: E402
from collector_client import Collector, fields, properties  # noqa: E402,F401
from gateway_control import Gateway  # noqa: E402

GATEWAY_PORT = int(os.environ.get("TESSARO_GATEWAY_PORT", "0"))
ANALYTICS_PORT = int(os.environ.get("TESSARO_ANALYTICS_PORT", "0"))
SITE_ROOT = os.environ.get("TESSARO_WEB_SITE_ROOT", "")
URL_LOG = os.environ.get("TESSARO_URL_LOG", "")

PACKAGE_PATH = "/applicationService/installer/getAppVersion"
WELCOME_PATH = "/applicationService/channel/welcome"
UNINSTALL_KEY = (r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
                 r"\{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1")
SDK_FOLDER = ("users", "root", "AppData", "Roaming", "OrvanePkg", "Vexa")
CONFIG = ("users", "root", "AppData", "Roaming", "OrvanePkg", "TESSARO", "config.ini")

# Colours of the pages (RGB).
ORANGE = (0xFF, 0x6B, 0x55)
GREY = (0xC1, 0xC1, 0xC1)
WARNING_RED = (0xFF, 0x4D, 0x4F)


def gateway_routes(newest="2.1.0.5", installation_size=None, welcome=None):
    package = {"versionCode": newest}
    if installation_size is not None:
        package["installationSize"] = str(installation_size)
    return {
        PACKAGE_PATH: {"body": {"code": "server.success", "data": package}},
        WELCOME_PATH: {"body": {"code": "server.success", "data": welcome or {}}},
    }


def near(actual, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(actual, expected))


def region_colors(path, x, y, width, height):
    """Every pixel (r, g, b) of a rectangle of a PNG."""
    out = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8", "txt:-"],
                         check=True, capture_output=True, text=True).stdout
    return [tuple(int(v) for v in m.groups()) for m in re.finditer(r"\((\d+),(\d+),(\d+)", out)]


def region_has(path, box, color, tolerance=24):
    return any(near(c, color, tolerance) for c in region_colors(path, *box))


def event_name(record):
    return record.get("event", {}).get("name") if record.get("kind") == 6 else None


def summary(record):
    """("event", name, {key: value}) for events, ("action", page, action) for
    action records, ("record", kind) for the rest."""
    if record["kind"] == 6:
        return ("event", event_name(record), {k: v for k, _, v in properties(record)})
    if record["kind"] == 2:
        values = dict(fields(record))
        return ("action", values.get(10, b"").decode(), values.get(11, b"").decode())
    return ("record", record["kind"])


def page_flow(records, since="pSoftInstall"):
    """The run's events and action records after the named event, in order,
    without the toolkit's and the SDK's own bookkeeping."""
    ours = [summary(r) for r in records]
    start = next(i for i, s in enumerate(ours) if s[:2] == ("event", since))
    skip = {"vResourceMgrStart", "vResourceStatus", "vNetworkCheck"}
    return [s for s in ours[start + 1:] if s[0] == "action" or (s[0] == "event" and s[1] not in skip)]


def visible_windows(display, title="^Tessaro$"):
    """Visible windows with that title as {window id: (x, y, w, h)}."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                         env={**os.environ, "DISPLAY": display}, capture_output=True, text=True).stdout
    found = {}
    for window in out.split():
        try:
            found[window] = wintest.window_geometry(display, window)
        except wintest.HarnessError:
            pass
    return found


def reg(*args):
    subprocess.run(["wine", "reg", *args, "/f"], check=True, capture_output=True, timeout=120)


class InstalledProduct:
    """The uninstall key naming a copy of the stand-in program; removed on exit."""

    def __init__(self, stand_in, folder="Program Files/Tessaro Installed"):
        self.folder = folder
        self.windows_path = wintest.place_on_drive_c(stand_in, folder=folder, name="Tessaro.exe")
        self.marker = wintest.drive_c(*folder.split("/"), "launched.txt")

    def __enter__(self):
        if os.path.exists(self.marker):
            os.remove(self.marker)
        reg("add", UNINSTALL_KEY, "/v", "DisplayIcon", "/t", "REG_SZ", "/d", self.windows_path)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wine", "reg", "delete", UNINSTALL_KEY, "/f"], capture_output=True, timeout=120)
        shutil.rmtree(wintest.drive_c(*self.folder.split("/")), ignore_errors=True)

    def launched(self, seconds=15):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if os.path.exists(self.marker):
                return True
            time.sleep(0.2)
        return False


def read_config():
    path = wintest.drive_c(*CONFIG)
    if not os.path.exists(path):
        return {}
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8").split("\r\n")
    return dict(line.split("=", 1) for line in lines if "=" in line)


def read_urls():
    if not URL_LOG or not os.path.exists(URL_LOG):
        return []
    with open(URL_LOG, encoding="utf-8") as f:
        return [line.strip() for line in f if line.strip()]


class Session:
    """One run of an installer (or the finished-page driver) with its own
    gateway and collector."""

    def __init__(self, program, name, routes, scale=1.0, env=None, tag=""):
        self.program_source = program
        self.name = name
        self.routes = routes
        self.scale = scale
        self.env = env
        self.tag = tag
        self.store = tempfile.mkdtemp(prefix="pages-collector-")
        self.shots = 0

    def __enter__(self):
        shutil.rmtree(wintest.drive_c(*SDK_FOLDER), ignore_errors=True)
        config = wintest.drive_c(*CONFIG)
        if os.path.exists(config):
            os.remove(config)
        self.urls_before = len(read_urls())
        self.gateway = Gateway(["127.0.0.1"], GATEWAY_PORT, self.routes)
        self.collector = Collector(self.store, port=ANALYTICS_PORT).start()
        self.display_ctx = wintest.xvfb()
        self.display = self.display_ctx.__enter__()
        # The pointer stays where the last test left it: away from the window.
        subprocess.run(["xdotool", "mousemove", "0", "0"], env={**os.environ, "DISPLAY": self.display},
                       capture_output=True)
        path = wintest.place_on_drive_c(self.program_source, folder="users/root/Downloads/pages",
                                        name=self.name)
        self.program = wintest.WineProgram(path, display=self.display, env=self.env)
        return self

    def __exit__(self, *exc):
        self.program.kill()
        self.display_ctx.__exit__(*exc)
        self.collector.stop()
        self.gateway.close()
        shutil.rmtree(self.store, ignore_errors=True)

    # windows

    def windows(self):
        return visible_windows(self.display)

    def window_of_size(self, width, height, seconds=30):
        """The one visible "Tessaro" window of that size (design size × scale),
        once it has kept its X window for a moment: a dialog gets a new one
        when it turns layered at its first paint."""
        size = (round(width * self.scale), round(height * self.scale))

        def one():
            matches = [w for w, g in self.windows().items() if g[2:] == size]
            return matches[0] if len(matches) == 1 else None

        def stable():
            first = one()
            time.sleep(0.5)
            return first if first is not None and one() == first else None

        return wintest.wait_until(stable, seconds, f"no single window of {size}: {self.windows()}")

    def count_of_size(self, width, height):
        size = (round(width * self.scale), round(height * self.scale))
        return sum(1 for g in self.windows().values() if g[2:] == size)

    def gone(self, width, height, seconds=15):
        wintest.wait_until(lambda: self.count_of_size(width, height) == 0, seconds,
                           f"a {width}x{height} window is still shown")

    def main_window(self, width=600, height=400):
        return self.window_of_size(width, height)

    def click(self, window, x, y):
        wintest.click(self.display, window, x, y, self.scale)
        time.sleep(0.4)

    def move(self, window, x, y):
        """Moves the pointer to design point (x, y) of the window."""
        left, top, _, _ = wintest.window_geometry(self.display, window)
        subprocess.run(["xdotool", "mousemove", str(left + round(x * self.scale)), str(top + round(y * self.scale))],
                       env={**os.environ, "DISPLAY": self.display}, capture_output=True)
        time.sleep(0.3)

    def key(self, window, keys):
        wintest.key(self.display, window, keys)
        time.sleep(0.4)

    def shot(self, name, window):
        """A PNG of one window under the artifacts folder. Bounded in time:
        ImageMagick may wait for a click when the window has just gone."""
        os.makedirs(wintest.ARTIFACTS, exist_ok=True)
        path = os.path.join(wintest.ARTIFACTS, re.sub(r"[^A-Za-z0-9_.-]", "_", f"pages_{self.tag}{name}") + ".png")
        subprocess.run(["import", "-display", self.display, "-window", window, path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
        return path

    def wait_pixel(self, window, name, x, y, color, tolerance=6, seconds=15):
        """Screenshots until design point (x, y) shows color; returns the shot."""
        point = (round(x * self.scale), round(y * self.scale))
        deadline = time.monotonic() + seconds
        while True:
            path = self.shot(name, window)
            actual = wintest.pixel(path, *point)
            if near(actual, color, tolerance):
                return path
            if time.monotonic() > deadline:
                raise AssertionError(f"{name}: {point} shows {actual}, expected {color}")
            time.sleep(0.3)

    def box(self, left, top, right, bottom):
        s = self.scale
        return (round(left * s), round(top * s), round((right - left) * s), round((bottom - top) * s))

    # the run

    def wait_exit(self, seconds=60):
        return self.program.wait(seconds)

    def records_until(self, predicate, seconds=30):
        return self.collector.wait_for_records(predicate, seconds=seconds)

    def quit_records(self):
        """The records once "vSoftQuit" has arrived."""
        return self.records_until(lambda rs: any(event_name(r) == "vSoftQuit" for r in rs))

    def package_answered(self, seconds=30):
        wintest.wait_until(lambda: any(r["target"].startswith(PACKAGE_PATH) for r in self.gateway.requests()),
                           seconds, "no package query")

    def new_urls(self, seconds=15):
        wintest.wait_until(lambda: len(read_urls()) > self.urls_before, seconds, "no URL opened")
        return read_urls()[self.urls_before:]


def type_text(run, text):
    """Types text into the focused control with xdotool."""
    subprocess.run(["xdotool", "type", "--delay", "30", text], env={**os.environ, "DISPLAY": run.display},
                   check=True, capture_output=True)
    time.sleep(0.3)
