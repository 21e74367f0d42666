"""Three failed runs of the setup package (exit code 2, an access violation,
exit code 2 again): "vSoftInstallError" with each exit code as an unsigned
number, the retry dialog twice, then the manual install dialog, whose "确认"
starts the downloaded package normally, with its own setup window. A
package that Windows cannot start at all fails the same way, its error told
apart from exit codes."""

import os
import tempfile
import unittest

from install_run import (PACKAGE, PORTS, START_INSTALL, InstallRun, Stack, Work, actions, events,
                         prefix_state, setup_line, wintest, wizard)

SETUP_WINDOW = "^Tessaro Setup$"


class InstallFailuresTest(unittest.TestCase):
    def test_three_failed_installs_end_in_the_manual_install(self):
        with Work("install_failed") as work, Stack(PACKAGE, PORTS) as stack, \
                InstallRun(stack, env=work.env(queue=["exit=2", "crash", "exit=2"])) as run:
            page = run.start_page()
            run.click(page, *START_INSTALL)
            run.click_through_dialogs("install_failed")
            setup = wintest.find_window(run.display, title=SETUP_WINDOW)
            wintest.screenshot(run.display, "install_manual_setup_window", setup)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
            package = prefix_state.read_config()["path"]
            lines = work.setup_lines()
            wintest.key(run.display, setup, "Escape")
            wintest.wait_until(lambda: not wizard.visible_windows(run.display, SETUP_WINDOW), 15,
                               "the setup window stayed")

        errors = [props for name, props in events(records) if name == "vSoftInstallError"]
        self.assertEqual(errors, [{"error_status": "2"}, {"error_status": "3221225477"}, {"error_status": "2"}])
        self.assertEqual([a for a in actions(records) if a[0] in ("0008", "0011")],
                         [("0008", "0001"), ("0008", "0001"), ("0011", "0001")])
        self.assertNotIn("pSoftInstallResult", [name for name, _ in events(records)])
        self.assertEqual(lines[:3], [setup_line(package)] * 3)
        self.assertEqual(len(lines), 4, lines)
        self.assertTrue(lines[3].startswith(f'"{package}"'), lines[3])
        self.assertNotIn("/SILENT", lines[3])

    def test_a_package_that_cannot_start_is_a_failed_install(self):
        with tempfile.TemporaryDirectory() as folder:
            package = os.path.join(folder, os.path.basename(PACKAGE))
            with open(package, "wb") as f:
                f.write(b"not a program\r\n" * 64)
            with Work("install_unstartable") as work, Stack(package, PORTS) as stack, \
                    InstallRun(stack, env=work.env(), tag="unstartable_") as run:
                page = run.start_page()
                run.click(page, *START_INSTALL)
                run.click_through_dialogs("install_unstartable")
                self.assertEqual(run.wait_exit(), 0)
                records = run.quit_records()

        names = [name for name, _ in events(records)]
        errors = [props["error_status"] for name, props in events(records) if name == "vSoftInstallError"]
        self.assertEqual(len(errors), 3, errors)
        self.assertRegex(errors[0], r"^start failed: \d+$")
        self.assertEqual(errors, errors[:1] * 3)
        self.assertNotIn("vSoftInstallStart", names)
        self.assertNotIn("pSoftInstallResult", names)
        self.assertEqual([a for a in actions(records) if a[0] in ("0008", "0011")],
                         [("0008", "0001"), ("0008", "0001"), ("0011", "0001")])
        self.assertEqual(work.setup_lines(), [])


if __name__ == "__main__":
    unittest.main()
