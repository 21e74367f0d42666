"""What a run of the installer tells the analytics collector: the start and
end of the run in order, delivery after the collector was down, and a run
without the SDK, which must behave the same, only silently."""

import os
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
sys.path.insert(0, os.path.join(ROOT, "testbed", "collector"))
sys.path.insert(0, os.path.join(ROOT, "tests", "app"))
import wintest  # noqa: E402
from installer_window import close_installer  # noqa: E402
from collector_client import Collector, fields, properties  # noqa: E402

INSTALLER = os.environ["TESSARO_INSTALLER"]
INSTALLER_WITHOUT_SDK = os.environ["TESSARO_INSTALLER_WITHOUT_SDK"]
PORT = int(os.environ["TESSARO_ANALYTICS_PORT"])
SDK_FOLDER = ("users", "root", "AppData", "Roaming", "OrvanePkg", "Vexa")
PACKAGE = "TessaroSetup_ruva3600"


def run_and_close(installer, name):
    """Starts the installer as a user would and ends the run from its start page."""
    path = wintest.place_on_drive_c(installer, folder="users/root/Downloads/telemetry", name=name + ".exe")
    with wintest.xvfb() as display:
        program = wintest.WineProgram(path, display=display)
        try:
            window = wintest.find_window(display, title="^Tessaro$")
            close_installer(display, window)
            return program.wait(60)
        finally:
            program.kill()


def event_name(record):
    return record.get("event", {}).get("name") if record.get("kind") == 6 else None


def summary(record):
    """A record as the test compares it: kind 6 by name and properties, the
    others by their fields."""
    if record["kind"] == 6:
        return ("event", event_name(record), properties(record))
    return ("record", record["kind"], fields(record))


class InstallerTelemetryTest(unittest.TestCase):
    def setUp(self):
        # Every run starts from an empty SDK folder: no spool of earlier tests.
        shutil.rmtree(wintest.drive_c(*SDK_FOLDER), ignore_errors=True)
        self.store = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.store, True)

    def test_start_and_end_of_a_run_arrive_in_order(self):
        with Collector(self.store, port=PORT) as collector:
            self.assertEqual(run_and_close(INSTALLER, PACKAGE), 0)
            records = collector.wait_for_records(
                lambda rs: any(event_name(r) == "vSoftQuit" for r in rs), seconds=30)
        ours = [summary(r) for r in records]
        start = ours.index(next(s for s in ours if s[:2] == ("event", "pSoftInstall")))
        quit_at = ours.index(next(s for s in ours if s[:2] == ("event", "vSoftQuit")))

        name, props = ours[start][1], dict((k, (t, v)) for k, t, v in ours[start][2])
        self.assertEqual(name, "pSoftInstall")
        self.assertEqual([k for k, _, _ in ours[start][2]],
                         ["download_time", "is_first_install", "install_type", "parent_app_name",
                          "soft_package_name"])
        self.assertEqual(props["is_first_install"][1], True)
        self.assertEqual(props["soft_package_name"][1], PACKAGE)
        self.assertEqual(props["install_type"][1], "安装器")
        self.assertEqual(props["parent_app_name"][1], "")
        self.assertEqual(props["download_time"][0], "int")

        self.assertEqual(ours[start + 1], ("record", 1, [(1, 1)]))
        self.assertEqual(ours[start + 2], ("record", 4, [(50, 4), (51, b"0001"), (52, b"0001"),
                                                         (53, PACKAGE.encode())]))
        self.assertEqual(ours[quit_at - 1], ("record", 4, [(50, 4), (51, b"0001"), (52, b"0002")]))
        self.assertEqual(ours[quit_at], ("event", "vSoftQuit", [("event_name", "string", "软件退出")]))

    def test_records_of_a_run_without_collector_arrive_with_the_next_run(self):
        self.assertEqual(run_and_close(INSTALLER, PACKAGE), 0)
        with Collector(self.store, port=PORT) as collector:
            self.assertEqual(run_and_close(INSTALLER, PACKAGE), 0)
            records = collector.wait_for_records(
                lambda rs: sum(event_name(r) == "vSoftQuit" for r in rs) == 2, seconds=30)
        self.assertEqual(sum(event_name(r) == "pSoftInstall" for r in records), 2)

    def test_without_the_sdk_the_run_is_the_same_but_silent(self):
        with Collector(self.store, port=PORT) as collector:
            self.assertEqual(run_and_close(INSTALLER_WITHOUT_SDK, PACKAGE), 0)
            self.assertEqual(collector.records(), [])
        self.assertFalse(os.path.exists(os.path.join(wintest.drive_c(*SDK_FOLDER), "Vexa.dll")))


if __name__ == "__main__":
    unittest.main()
