"""The progress page's "隐藏窗口": the window goes into the notification
area while the setup runs, and starting the installer a second time brings
it back. Alt+F4 during the install changes nothing."""

import os
import unittest

from install_run import (DEFAULT_FOLDER, FINISHED_CLOSE, HIDE, PACKAGE, PORTS, START_INSTALL, InstallRun, Stack,
                         Work, actions, prefix_state, wintest)

INSTALL_INI = os.path.join(prefix_state.unix_path(DEFAULT_FOLDER), "install.ini")


class TrayTest(unittest.TestCase):
    def test_hide_and_wake_by_a_second_start(self):
        with Work("tray") as work, Stack(PACKAGE, PORTS) as stack, \
                InstallRun(stack, env=work.env(variant="run=10000")) as run:
            page = run.start_page()
            run.click(page, *START_INSTALL)
            run.wait_progress_page(page)
            run.key(page, "alt+F4")
            self.assertEqual(run.main_window(), page)

            run.click(page, *HIDE)
            wintest.wait_until(lambda: run.count_of_size(600, 400) == 0, 15, "the window was not hidden")
            self.assertTrue(run.program.running())
            self.assertEqual(run.second_instance().wait(60), 0)
            shown = run.main_window()
            self.assertFalse(os.path.exists(INSTALL_INI), "the window came back only with the end of the setup")
            run.wait_progress_page(shown)

            page = run.finished_page()
            run.click(page, *FINISHED_CLOSE)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
            setup_lines = work.setup_lines()
        self.assertEqual(len(setup_lines), 1)
        self.assertIn(("0003", "0001"), actions(records))


if __name__ == "__main__":
    unittest.main()
