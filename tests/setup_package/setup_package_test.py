"""The stand-in setup package as the installer and a user run it: the silent
install from the installer's exact command line, the record it leaves in the
uninstall list, the installed Tessaro.exe, the uninstaller, the setup window
of a manual install, and the test variants (exit code, crash, run time)."""

import glob
import os
import re
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402

PACKAGE = os.environ["TESSARO_SETUP_PACKAGE"]
VERSION = os.environ["TESSARO_PACKAGE_VERSION"]
KEY = ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
       "{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1")
SILENT = "/SILENT /VERYSILENT /SP- /noicons"
ACCESS_VIOLATION = 0xC0000005


def wine_tool(*args):
    return subprocess.run(["wine", *args], capture_output=True)


def product_record():
    """The values of the product's uninstall entry (texts and numbers), or None
    when it is missing. Read through an export: the file keeps every character,
    where reg query would print in the console code page."""
    export = os.path.join(wintest.BUILD_DIR, f"setup-package-query-{os.getpid()}.reg")
    try:
        if wine_tool("reg", "export", KEY, wintest.windows_path(export), "/y").returncode != 0:
            return None
        with open(export, encoding="utf-16") as f:
            lines = f.read().splitlines()
    finally:
        if os.path.exists(export):
            os.remove(export)
    values = {}
    for line in lines:
        match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if not match:
            continue
        name, data = (re.sub(r"\\(.)", r"\1", match.group(1)), match.group(2))
        if data.startswith("dword:"):
            values[name] = int(data[6:], 16)
        elif data.startswith('"'):
            values[name] = re.sub(r"\\(.)", r"\1", data[1:-1])
    return values


def delete_product_record():
    wine_tool("reg", "delete", KEY, "/f")


def product_version(exe):
    """The ProductVersion text of a program's version block."""
    data = open(exe, "rb").read()
    name = "ProductVersion".encode("utf-16-le") + b"\0\0"
    at = data.rfind(name) + len(name)
    at += -at % 4  # the value starts on a 32-bit boundary
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def signed(code):
    return code - (1 << 32) if code >= 1 << 31 else code


class SetupPackageTest(unittest.TestCase):
    """Every test works in its own folder on C: and leaves the product's
    uninstall entry as it found it (the prefix is shared)."""

    @classmethod
    def setUpClass(cls):
        cls.saved_record = os.path.join(wintest.BUILD_DIR, f"setup-package-record-{os.getpid()}.reg")
        cls.had_record = product_record() is not None
        if cls.had_record:
            wine_tool("reg", "export", KEY, wintest.windows_path(cls.saved_record), "/y")

    @classmethod
    def tearDownClass(cls):
        delete_product_record()
        if cls.had_record:
            wine_tool("reg", "import", wintest.windows_path(cls.saved_record))
            os.remove(cls.saved_record)

    def setUp(self):
        delete_product_record()
        self.name = f"tessaro-setup-test-{os.getpid()}-{self._testMethodName}"
        self.folder = wintest.clean_dir(wintest.drive_c(self.name))
        self.win_folder = "C:\\" + self.name
        self.setup = wintest.place_on_drive_c(PACKAGE, folder=self.name, name="TessaroPackage.exe")
        self.log = os.path.join(self.folder, "setup.log")
        self.env = {"TESSARO_SETUP_LOG": self.win_folder + "\\setup.log"}
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.kill()
            program.process.stdout.close()
        delete_product_record()
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self, exe, args=(), display=None, env=None):
        program = wintest.WineProgram(exe, args, display=display, env={**self.env, **(env or {})})
        self.programs.append(program)
        return program

    def run_line(self, arguments, env=None):
        """Runs the setup with exactly this argument text after its quoted
        path, as the installer does; returns its full 32-bit exit code."""
        batch = os.path.join(self.folder, "run.bat")
        with open(batch, "w", newline="\r\n") as f:
            f.write(f'@echo off\n"{self.setup}" {arguments}\necho exit=%errorlevel%\n')
        program = self.start("cmd", ["/c", self.win_folder + "\\run.bat"], env=env)
        program.wait(120)
        match = re.search(r"exit=(-?\d+)", program.output())
        self.assertIsNotNone(match, "no exit code from the batch")
        return int(match.group(1)) & 0xFFFFFFFF

    def installed(self, folder):
        return {name: os.path.exists(os.path.join(folder, name))
                for name in ("Tessaro.exe", "unins000.exe", "install.ini")}

    def test_silent_install_from_the_installers_command_line_and_uninstall(self):
        target = self.win_folder + "\\Program Files\\Tessaro"
        arguments = f'{SILENT} -noexperience -nowelcome /DIR="{target}"'
        self.assertEqual(self.run_line(arguments), 0)

        with open(self.log, encoding="utf-8") as f:
            self.assertEqual(f.read(), f'"{self.setup}" {arguments}\n')
        folder = os.path.join(self.folder, "Program Files", "Tessaro")
        self.assertEqual(self.installed(folder), {"Tessaro.exe": True, "unins000.exe": True, "install.ini": True})
        with open(os.path.join(folder, "install.ini")) as f:
            self.assertEqual(f.read().split(), ["[Install]", "JoinPlan=0", "ShowWelcome=0"])
        self.assertEqual(product_version(os.path.join(folder, "Tessaro.exe")), VERSION)

        record = product_record()
        self.assertIsNotNone(record, "no uninstall entry")
        expected = {
            "DisplayIcon": target + "\\Tessaro.exe",
            "InstallLocation": target + "\\",
            "Inno Setup: App Path": target,
            "DisplayName": f"Tessaro version {VERSION}",
            "DisplayVersion": VERSION,
            "Publisher": "Orvane",
            "UninstallString": f'"{target}\\unins000.exe"',
            "QuietUninstallString": f'"{target}\\unins000.exe" /SILENT',
            "Inno Setup: No Icons": 1,
            "NoModify": 1,
            "NoRepair": 1,
            "MajorVersion": int(VERSION.split(".")[0]),
            "MinorVersion": int(VERSION.split(".")[1]),
        }
        self.assertEqual({k: record.get(k) for k in expected}, expected)
        self.assertRegex(record.get("InstallDate", ""), r"^\d{8}$")

        temp_before = set(glob.glob(wintest.drive_c("users", "*", "**", "_iu*.tmp.exe"), recursive=True))
        uninstaller = self.start(target + "\\unins000.exe", ["/VERYSILENT"])
        self.assertEqual(uninstaller.wait(60), 0)
        wintest.wait_until(lambda: not os.path.exists(folder) and product_record() is None, 30,
                           "the uninstaller left files or the entry behind")
        time.sleep(1)
        temp_after = set(glob.glob(wintest.drive_c("users", "*", "**", "_iu*.tmp.exe"), recursive=True))
        self.assertEqual(temp_after - temp_before, set(), "the uninstaller's copy was left behind")
        self.assertTrue(os.path.isdir(os.path.join(self.folder, "Program Files")))

    def test_plan_accepted_into_a_folder_with_a_trailing_backslash(self):
        target = self.win_folder + "\\安装 目录"
        program = self.start(self.setup, [*SILENT.split(), "-nowelcome", f"/DIR={target}\\"])
        self.assertEqual(program.wait(120), 0)
        folder = os.path.join(self.folder, "安装 目录")
        self.assertTrue(all(self.installed(folder).values()), self.installed(folder))
        with open(os.path.join(folder, "install.ini")) as f:
            self.assertEqual(f.read().split(), ["[Install]", "JoinPlan=1", "ShowWelcome=0"])
        record = product_record()
        self.assertEqual(record["InstallLocation"], target + "\\")
        self.assertEqual(record["DisplayIcon"], target + "\\Tessaro.exe")

    def test_installed_program_shows_its_window(self):
        target = self.win_folder + "\\Tessaro"
        self.assertEqual(self.run_line(f'{SILENT} -nowelcome /DIR="{target}"'), 0)
        app_log = self.win_folder + "\\app.log"
        with wintest.xvfb() as display:
            app = self.start(target + "\\Tessaro.exe", display=display, env={"TESSARO_APP_LOG": app_log})
            window = wintest.find_window(display, title="^Tessaro$")
            wintest.key(display, window, "alt+F4")
            self.assertEqual(app.wait(30), 0)
        with open(os.path.join(self.folder, "app.log"), encoding="utf-8") as f:
            self.assertIn("Tessaro.exe", f.read())

    def test_setup_window_installs_on_install_and_stops_on_cancel(self):
        with wintest.xvfb() as display:
            cancelled = self.start(self.setup, [f"/DIR={self.win_folder}\\Cancelled"], display=display)
            window = wintest.find_window(display, title="^Tessaro Setup$")
            wintest.screenshot(display, "setup_package_window", window)
            wintest.key(display, window, "Escape")
            self.assertEqual(cancelled.wait(30), 2)
            self.assertFalse(os.path.exists(os.path.join(self.folder, "Cancelled")))
            self.assertIsNone(product_record())

            manual = self.start(self.setup, [f"/DIR={self.win_folder}\\Manual"], display=display)
            window = wintest.find_window(display, title="^Tessaro Setup$")
            wintest.key(display, window, "Return")
            self.assertEqual(manual.wait(30), 0)
        folder = os.path.join(self.folder, "Manual")
        self.assertTrue(all(self.installed(folder).values()), self.installed(folder))
        with open(os.path.join(folder, "install.ini")) as f:
            self.assertEqual(f.read().split(), ["[Install]", "JoinPlan=1", "ShowWelcome=1"])
        self.assertEqual(product_record()["InstallLocation"], self.win_folder + "\\Manual\\")

    def test_variants_fail_crash_and_take_their_time(self):
        target = self.win_folder + "\\Tessaro"
        line = f'{SILENT} -nowelcome /DIR="{target}"'
        folder = os.path.join(self.folder, "Tessaro")

        # A queue takes precedence over the fixed variant while it has lines.
        with open(os.path.join(self.folder, "queue.txt"), "w") as f:
            f.write("exit=2\r\ncrash\n")
        env = {"TESSARO_SETUP_VARIANT_QUEUE": self.win_folder + "\\queue.txt",
               "TESSARO_SETUP_VARIANT": "exit=0x2A"}
        self.assertEqual(self.run_line(line, env), 2)
        self.assertEqual(self.run_line(line, env), ACCESS_VIOLATION)
        self.assertEqual(self.run_line(line, env), 42)
        self.assertEqual(self.run_line(line, {"TESSARO_SETUP_VARIANT": "explode"}), 1)
        self.assertFalse(os.path.exists(folder))
        self.assertIsNone(product_record())
        with open(self.log, encoding="utf-8") as f:
            self.assertEqual(len(f.read().splitlines()), 4, "every run records its command line")

        started = time.monotonic()
        slow = self.start(self.setup, [*SILENT.split(), f"/DIR={target}"], env={"TESSARO_SETUP_VARIANT": "run=3000"})
        time.sleep(1.5)
        self.assertTrue(slow.running())
        self.assertFalse(os.path.exists(folder))
        self.assertEqual(slow.wait(60), 0)
        self.assertGreaterEqual(time.monotonic() - started, 3)
        self.assertTrue(all(self.installed(folder).values()))

        slow_failure = self.start(self.setup, [*SILENT.split(), f"/DIR={target}2"],
                                  env={"TESSARO_SETUP_VARIANT": "run=500 exit=7"})
        self.assertEqual(slow_failure.wait(60), 7)
        self.assertFalse(os.path.exists(folder + "2"))


if __name__ == "__main__":
    unittest.main()
