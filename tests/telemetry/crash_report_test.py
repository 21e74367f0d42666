"""A crash of a program that uses the SDK as the installer does: the SDK writes
a minidump and the crash callback reports it (the dump's run-state record, the
end-of-run record, "vSoftDump" and "vSoftQuit" with "软件崩溃"); the records
reach the collector with the next run."""

import base64
import os
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
sys.path.insert(0, os.path.join(ROOT, "testbed", "collector"))
import wintest  # noqa: E402
from collector_client import Collector, fields, properties  # noqa: E402

PROGRAM = os.environ["TESSARO_CRASH_PROGRAM"]
PORT = int(os.environ["TESSARO_ANALYTICS_PORT"])
SDK_FOLDER = ("users", "root", "AppData", "Roaming", "OrvanePkg", "Vexa")


class CrashReportTest(unittest.TestCase):
    def test_crash_is_reported_with_its_dump(self):
        shutil.rmtree(wintest.drive_c(*SDK_FOLDER), ignore_errors=True)
        store = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, store, True)
        program = wintest.place_on_drive_c(PROGRAM, folder="users/root/Downloads/crash")

        crashed = wintest.WineProgram(program, args=["crash"], env={"WINEDEBUG": "-all"})
        self.assertNotEqual(crashed.wait(120), 0)

        with Collector(store, port=PORT) as collector:
            self.assertEqual(wintest.WineProgram(program, args=["flush"]).wait(120), 0)
            records = collector.wait_for_records(
                lambda rs: any(r.get("event", {}).get("name") == "vSoftQuit" for r in rs), seconds=30)

        dump_states = [fields(r) for r in records if r["kind"] == 4 and fields(r)[0] == (50, 1)]
        self.assertEqual(len(dump_states), 1, records)
        state = dict(dump_states[0])
        self.assertEqual((state[51], state[52]), (b"0001", b"0001"))
        dump_path = state[55].decode("latin-1")
        self.assertTrue(dump_path.lower().endswith(".dmp"), dump_path)
        unix_dump = wintest.drive_c(*dump_path[3:].split("\\")) if dump_path[:3].upper() == "C:\\" else dump_path
        with open(unix_dump, "rb") as dump:
            self.assertEqual(dump.read(4), b"MDMP")

        events = [(r["event"]["name"], properties(r)) for r in records if r["kind"] == 6]
        self.assertEqual(events, [("vSoftDump", []), ("vSoftQuit", [("event_name", "string", "软件崩溃")])])
        end_states = [fields(r) for r in records if r["kind"] == 4 and fields(r)[0] == (50, 4)]
        self.assertEqual(end_states, [[(50, 4), (51, b"0001"), (52, b"0002")]])


if __name__ == "__main__":
    unittest.main()
