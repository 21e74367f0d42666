"""The start page of a first install, driven with the mouse: the agreement
check box and its hint, the agreement link, and closing through the cancel
dialog, first dismissed, then confirmed. The collector must receive the
page's and the dialog's records in the order of the clicks."""

import os
import unittest

import wizard
from wizard import ORANGE, GREY, WARNING_RED

INSTALLER = os.environ["TESSARO_INSTALLER"]

# Design points of the start page and the dialog.
CLOSE = (570, 32)
INSTALL = (222, 279)          # inside the install button, clear of its text
CHECKBOX = (27, 369)
AGREEMENT = (200, 369)
CUSTOM = (520, 369)
HINT_BOX = (257, 362, 472, 376)
DIALOG_CONFIRM = (250, 164)
DIALOG_DISMISS = (338, 164)
DIALOG_CLOSE = (383, 15)


class StartPageTest(unittest.TestCase):
    def test_agreement_link_and_cancel_dialog(self):
        with wizard.Session(INSTALLER, "TessaroSetup_ruva3600.exe", wizard.gateway_routes()) as run:
            page = run.main_window()
            shot = run.wait_pixel(page, "start", *INSTALL, ORANGE)
            self.assertFalse(wizard.region_has(shot, run.box(*HINT_BOX), WARNING_RED))

            # Clearing the agreement greys both ways on and shows the red hint.
            run.click(page, *CHECKBOX)
            shot = run.wait_pixel(page, "start_not_agreed", *INSTALL, GREY)
            self.assertTrue(wizard.region_has(shot, run.box(*HINT_BOX), WARNING_RED))
            run.click(page, *INSTALL)
            run.click(page, *CUSTOM)
            self.assertEqual(run.count_of_size(600, 400), 1)
            run.click(page, *CHECKBOX)
            shot = run.wait_pixel(page, "start_agreed_again", *INSTALL, ORANGE)
            self.assertFalse(wizard.region_has(shot, run.box(*HINT_BOX), WARNING_RED))

            run.click(page, *AGREEMENT)
            urls = run.new_urls()

            # The dialog comes once; a second click on the page's close
            # button leaves it alone; "取消" returns to the page.
            run.click(page, *CLOSE)
            dialog = run.window_of_size(400, 200)
            run.shot("cancel_dialog", dialog)
            x, y, _, _ = run.windows()[dialog]
            px, py, pw, ph = run.windows()[page]
            self.assertLessEqual(abs(x - (px + (pw - 400) // 2)), 1)
            self.assertLessEqual(abs(y - (py + (ph - 200) // 2)), 1)
            run.click(page, *CLOSE)
            self.assertEqual(run.count_of_size(400, 200), 1)
            run.click(dialog, *DIALOG_DISMISS)
            run.gone(400, 200)
            self.assertTrue(run.program.running())

            # The dialog's close button is "取消" too; Alt+F4 opens it again.
            run.click(page, *CLOSE)
            run.click(run.window_of_size(400, 200), *DIALOG_CLOSE)
            run.gone(400, 200)
            run.key(page, "alt+F4")
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()

        mid = next(r["mid"] for r in records if r.get("mid"))
        self.assertEqual(urls, [f"{wizard.SITE_ROOT}terms/user-agreement?_mid={mid}"])
        page_event = ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "立即安装"})
        self.assertEqual(wizard.page_flow(records), [
            page_event,
            ("action", "0001", "0003"),
            ("action", "0001", "0003"),
            ("action", "0001", "0004"),
            ("action", "0001", "0001"),
            ("action", "0005", "0002"),
            ("action", "0001", "0001"),
            ("action", "0005", "0002"),
            ("action", "0005", "0001"),
            ("event", "pCancelInstall", {"is_reinstall": False, "windows_name": "立即安装"}),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])


if __name__ == "__main__":
    unittest.main()
