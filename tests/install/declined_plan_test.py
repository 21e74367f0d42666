"""Installing from the custom page with the experience plan declined: the
setup package gets "-noexperience ", the run's last event is "vJoinPlan"
with choose_join_plan false (the telemetry handle is released), and
"立即体验" still starts the installed program."""

import os
import time
import unittest

from install_run import (CUSTOM_INSTALL, CUSTOM_LINK, CUSTOM_PLAN, DEFAULT_FOLDER, FINISHED_LAUNCH, ORANGE,
                         PACKAGE, PORTS, InstallRun, Stack, Work, close_window, events, installed_app, prefix_state,
                         setup_line)


class DeclinedPlanTest(unittest.TestCase):
    def test_declined_plan(self):
        with Work("declined") as work, Stack(PACKAGE, PORTS) as stack, \
                InstallRun(stack, env=work.env()) as run:
            page = run.start_page()
            run.click(page, *CUSTOM_LINK)
            run.wait_pixel(page, "custom", *CUSTOM_INSTALL, ORANGE)
            run.click(page, *CUSTOM_PLAN)
            run.shot("custom_plan_cleared", page)
            run.click(page, *CUSTOM_INSTALL)
            page = run.finished_page()
            config = prefix_state.read_config()
            with open(os.path.join(prefix_state.unix_path(DEFAULT_FOLDER), "install.ini")) as f:
                install_ini = f.read().split()
            run.click(page, *FINISHED_LAUNCH)
            self.assertEqual(run.wait_exit(), 0)
            app_window, app = installed_app(run.display)
            close_window(run.display, app_window)
            # Nothing may follow the opt-out; a late upload would arrive within this pause.
            time.sleep(2)
            records = run.collector.records()
            setup_lines = work.setup_lines()

        self.assertEqual(setup_lines, [setup_line(config["path"], join_plan=False)])
        self.assertIn("JoinPlan=0", install_ini)
        names = [name for name, _ in events(records)]
        self.assertIn("vInstallPage", names)
        self.assertEqual(events(records)[-1], ("vJoinPlan", {"choose_join_plan": False}))
        self.assertEqual(app, DEFAULT_FOLDER + "\\Tessaro.exe")


if __name__ == "__main__":
    unittest.main()
