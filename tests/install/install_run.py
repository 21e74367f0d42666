"""Whole installer runs for the install tests: the local peers of
testbed/stack.py, the stand-in setup package on the CDN, and the installer
driven through its pages under Wine and Xvfb (the page helpers of
tests/pages/wizard.py).

The stand-in package records its command lines in a work folder of the test
on C: (TESSARO_SETUP_LOG); a queue file there gives each setup run its
variant. The installed Tessaro.exe is started through the desktop shell, with
the shell's environment, so it is recognised by its window and process.
Everything a run leaves (product entry and folder, config.ini, the package
cache, the work folder) is removed again by `Work`, the installer's copy on C:
by `InstallRun`.
"""

import contextlib
import os
import shutil
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
for folder in (("tests", "pages"), ("tests", "harness"), ("testbed",)):
    sys.path.insert(0, os.path.join(ROOT, *folder))
import prefix_state  # noqa: E402
import wintest  # noqa: E402
import wizard  # noqa: E402
from stack import Ports, Stack  # noqa: E402,F401
from wizard import ORANGE, near  # noqa: E402,F401

INSTALLER = os.environ.get("TESSARO_INSTALLER", "")
PACKAGE = os.environ.get("TESSARO_SETUP_PACKAGE", "")
PORTS = Ports.of_build(wintest.BUILD_DIR)
NAME = "TessaroSetup_ruva3600.exe"
INSTALLER_FOLDER = "users/root/Downloads/install"   # where a user runs it from
SILENT = "/SILENT /VERYSILENT /SP- /noicons "
DEFAULT_FOLDER = "C:\\Program Files\\Orvane\\Tessaro"

# Design points (600 x 400 pages, 400 x 200 dialogs).
START_INSTALL = (222, 279)
CUSTOM_LINK = (520, 369)
CUSTOM_PLAN = (133, 232)
CUSTOM_INSTALL = (222, 310)
REMINDER_REINSTALL = (338, 164)
HIDE = (560, 36)
FINISHED_LAUNCH = (222, 324)
FINISHED_CLOSE = (570, 32)
DIALOG_FIRST = (250, 164)      # "立即重试" / "确认"
DIALOG_SECOND = (338, 164)     # "稍后重试" / "取消"

# The progress page: status text and bar (design rectangles), bar colours.
STATUS_BOX = (48, 323, 552, 346)
BAR_LEFT, BAR_WIDTH, BAR_ROW = 48, 504, 361
BAR_PURPLE = (0x8F, 0x5C, 0xFF)
TRACK = (0xEE, 0xEE, 0xEE)
STATUS_TEXT = (0x4D, 0x4D, 0x4D)


class Work:
    """The test's folder on C: for the setup's command-line log and the
    variant queue. On exit it removes itself, the installed product, and the cache."""

    def __init__(self, name):
        self.name = f"tessaro-install-{name}-{os.getpid()}"
        self.folder = wintest.drive_c(self.name)
        self.windows = "C:\\" + self.name

    def __enter__(self):
        wintest.clean_dir(self.folder)
        prefix_state.remove_product()
        # Also a copy left behind without its uninstall entry.
        prefix_state.remove_tree(prefix_state.unix_path(DEFAULT_FOLDER))
        prefix_state.clear_installer_cache()
        return self

    def __exit__(self, *exc):
        prefix_state.remove_product()
        prefix_state.clear_installer_cache()
        shutil.rmtree(self.folder, ignore_errors=True)
        with contextlib.suppress(OSError):  # the maker's folder, when the install created it
            os.rmdir(os.path.dirname(prefix_state.unix_path(DEFAULT_FOLDER)))

    def env(self, variant=None, queue=None):
        env = {"TESSARO_SETUP_LOG": self.windows + "\\setup.log"}
        if variant is not None:
            env["TESSARO_SETUP_VARIANT"] = variant
        if queue is not None:
            with open(os.path.join(self.folder, "queue.txt"), "w", newline="\r\n") as f:
                f.write("".join(line + "\n" for line in queue))
            env["TESSARO_SETUP_VARIANT_QUEUE"] = self.windows + "\\queue.txt"
        return env

    def lines(self, log):
        path = os.path.join(self.folder, log)
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [line.rstrip("\r\n") for line in f if line.strip()]

    def setup_lines(self):
        return self.lines("setup.log")


def setup_line(package_path, folder=DEFAULT_FOLDER, join_plan=True):
    """The command line the installer gives the setup package."""
    plan = "" if join_plan else "-noexperience "
    return f'"{package_path}" {SILENT}{plan}-nowelcome /DIR="{folder}"'


class InstallRun(wizard.Session):
    """One run of the installer against a Stack. `fresh` forgets earlier
    runs' config.ini and package cache first; the SDK cache always goes.
    Shots are saved as artifacts named `prefix` + tag + name. `sdk_files`
    are placed in the SDK cache folder first, as other programs of the maker
    leave them there (NQUID.dll for the install report)."""

    def __init__(self, stack, env=None, tag="", fresh=True, installer=None, prefix="install_", sdk_files=()):
        super().__init__(installer or INSTALLER, NAME, routes=None, env=env, tag=tag)
        self.stack = stack
        self.fresh = fresh
        self.sdk_files = sdk_files
        self.prefix = prefix
        self.extra = []

    def __enter__(self):
        prefix_state.clear_installer_cache(keep_package=not self.fresh)
        for source in self.sdk_files:
            folder = wintest.drive_c(*prefix_state.SDK_FOLDER)
            os.makedirs(folder, exist_ok=True)
            shutil.copy(source, folder)
        self.urls_before = len(wizard.read_urls())
        self.gateway = self.stack.gateway
        self.collector = self.stack.collector
        self.display_ctx = wintest.xvfb()
        self.display = self.display_ctx.__enter__()
        subprocess.run(["xdotool", "mousemove", "0", "0"], env={**os.environ, "DISPLAY": self.display},
                       capture_output=True)
        self.path = wintest.place_on_drive_c(self.program_source, folder=INSTALLER_FOLDER, name=self.name)
        self.program = wintest.WineProgram(self.path, display=self.display, env=self.env)
        return self

    def __exit__(self, *exc):
        for program in [self.program, *self.extra]:
            program.kill()
            if program.process.stdout:
                program.process.stdout.close()
        self.display_ctx.__exit__(*exc)
        shutil.rmtree(self.store, ignore_errors=True)
        shutil.rmtree(wintest.drive_c(*INSTALLER_FOLDER.split("/")), ignore_errors=True)

    def second_instance(self):
        """Starts the same installer again (as a user double-clicking it)."""
        program = wintest.WineProgram(self.path, display=self.display, env=self.env)
        self.extra.append(program)
        return program

    def shot(self, name, window):
        """A PNG of one window under the artifacts folder, bounded in time
        (ImageMagick may wait for a click when the window has just gone)."""
        os.makedirs(wintest.ARTIFACTS, exist_ok=True)
        path = os.path.join(wintest.ARTIFACTS, f"{self.prefix}{self.tag}{name}.png")
        try:
            subprocess.run(["import", "-display", self.display, "-window", window, path], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
        except (subprocess.TimeoutExpired, subprocess.CalledProcessError) as error:
            state = "running" if self.program.running() else f"ended with {self.program.process.returncode}"
            raise wintest.HarnessError(f"no shot {name} of window {window}; the installer {state}; "
                                       f"events {self.stack.event_names()}") from error
        return path

    # pages

    def start_page(self):
        page = self.main_window()
        self.wait_pixel(page, "start", *START_INSTALL, ORANGE, seconds=30)
        return page

    def bar_fraction(self, shot):
        """How much of the progress bar is filled, 0.0 to 1.0, from a window shot."""
        row = wizard.region_colors(shot, *self.box(BAR_LEFT, BAR_ROW, BAR_LEFT + BAR_WIDTH, BAR_ROW + 1))
        return sum(1 for color in row if near(color, BAR_PURPLE, 40)) / len(row)

    def on_progress_page(self, shot):
        """The status text is there and the bar's track or fill runs across
        the whole bar row."""
        row = wizard.region_colors(shot, *self.box(BAR_LEFT + 6, BAR_ROW, BAR_LEFT + BAR_WIDTH - 6, BAR_ROW + 1))
        return (wizard.region_has(shot, self.box(*STATUS_BOX), STATUS_TEXT, 40)
                and all(near(color, TRACK, 12) or near(color, BAR_PURPLE, 40) for color in row))

    def wait_progress_page(self, page, seconds=30):
        def shown():
            shot = self.shot("progress", page)
            return shot if self.on_progress_page(shot) else None
        return wintest.wait_until(shown, seconds, "the progress page did not come")

    def finished_page(self, seconds=60):
        page = self.main_window()
        self.wait_pixel(page, "finished", *FINISHED_LAUNCH, ORANGE, seconds=seconds)
        return page

    def dialog(self, name, seconds=60):
        window = self.window_of_size(400, 200, seconds=seconds)
        self.wait_pixel(window, name, *DIALOG_SECOND, ORANGE, tolerance=24)
        return window

    def click_through_dialogs(self, name, count=3):
        """Answers `count` failure dialogs in turn with their first button
        ("立即重试", then "确认" in the last), each shot as name_N."""
        dialog = None
        for attempt in range(1, count + 1):
            if dialog is not None:
                wintest.wait_until(lambda: dialog not in self.windows(), 15, "the dialog stayed")
            dialog = self.dialog(f"{name}_{attempt}")
            self.click(dialog, *DIALOG_FIRST)

    def urls_since_start(self):
        return wizard.read_urls()[self.urls_before:]


def program_of_window(display, window):
    """The Windows path of the program that shows an X window: Wine names
    each process by its program."""
    out = subprocess.run(["xdotool", "getwindowpid", window], env={**os.environ, "DISPLAY": display},
                         capture_output=True, text=True).stdout.strip()
    if not out:
        return None
    try:
        with open(f"/proc/{out}/cmdline", "rb") as f:
            return f.read().split(b"\0")[0].decode("utf-8", "replace")
    except OSError:
        return None


def installed_app(display, seconds=30):
    """(window, program) of the installed Tessaro.exe once its window shows:
    a visible "Tessaro" window that is not the installer's."""
    def shown():
        for window in wizard.visible_windows(display):
            program = program_of_window(display, window)
            if program and program.lower().endswith("\\tessaro.exe"):
                return window, program
        return None
    return wintest.wait_until(shown, seconds, "the installed Tessaro.exe shows no window")


def close_window(display, window):
    wintest.key(display, window, "alt+F4")
    wintest.wait_until(lambda: window not in wizard.visible_windows(display), 15, f"window {window} stayed")


def events(records):
    """("name", {property: value}) of every event record, in arrival order."""
    return [(wizard.event_name(r), {k: v for k, _, v in wizard.properties(r)})
            for r in records if r.get("kind") == 6]


def actions(records):
    return [wizard.summary(r)[1:] for r in records if r.get("kind") == 2]
