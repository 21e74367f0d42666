"""Runs with the product already installed (the uninstall key names a
stand-in program of version 2.1.0.5): the reinstall reminder when the newest
version is not newer, with its three ways on, and the start page without room
when a newer package needs more than the installed folder's volume has."""

import os
import unittest

import wizard
from wizard import wintest
from wizard import GREY, ORANGE, WARNING_RED

INSTALLER = os.environ["TESSARO_INSTALLER"]
INSTALLED_APP = os.environ["TESSARO_INSTALLED_APP"]
NAME = "TessaroSetup_ruva3600.exe"

OPEN = (250, 164)
REINSTALL = (338, 164)
REMINDER_CLOSE = (383, 15)
START_INSTALL = (222, 279)
START_CLOSE = (570, 32)
CUSTOM_LINK = (520, 369)
CUSTOM_INSTALL = (222, 310)
CUSTOM_BACK = (40, 32)
CUSTOM_WARNING = (372, 178, 556, 202)
DIALOG_CONFIRM = (250, 164)


def reinstall_event(name):
    return ("event", "vReInstallOpera", {"event_name": name})


class InstalledProductTest(unittest.TestCase):
    def assert_centred(self, run, window, width, height):
        x, y, w, h = run.windows()[window]
        self.assertEqual((w, h), (width, height))
        screen_width, screen_height = wintest.screen_size(run.display)
        self.assertLessEqual(abs(x - (screen_width - w) // 2), 1)
        self.assertLessEqual(abs(y - (screen_height - h) // 2), 1)

    def reminder(self, run):
        window = run.window_of_size(400, 200)
        run.wait_pixel(window, "reminder", *REINSTALL, ORANGE)
        return window

    def test_reminder_then_reinstall_through_the_start_page(self):
        with wizard.InstalledProduct(INSTALLED_APP), \
                wizard.Session(INSTALLER, NAME, wizard.gateway_routes(newest="2.1.0.5")) as run:
            window = self.reminder(run)
            self.assert_centred(run, window, 400, 200)
            run.click(window, *REINSTALL)
            page = run.window_of_size(600, 400)
            self.assertEqual(page, window)
            run.wait_pixel(page, "start_after_reminder", *START_INSTALL, ORANGE)
            self.assert_centred(run, page, 600, 400)
            run.click(page, *START_CLOSE)
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
        start = ("event", "pSoftInstall")
        first = next(wizard.summary(r) for r in records if wizard.summary(r)[:2] == start)
        self.assertFalse(first[2]["is_first_install"])
        self.assertEqual(wizard.page_flow(records), [
            ("event", "vReInstall", {}),
            ("event", "vInstallPage", {"is_reinstall": True, "windows_name": "覆盖安装"}),
            reinstall_event("直接安装"),
            ("event", "vInstallPage", {"is_reinstall": True, "windows_name": "立即安装"}),
            ("action", "0001", "0001"),
            ("action", "0005", "0001"),
            ("event", "pCancelInstall", {"is_reinstall": True, "windows_name": "立即安装"}),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])

    def test_open_starts_the_installed_program_and_ends_the_run(self):
        with wizard.InstalledProduct(INSTALLED_APP) as product, \
                wizard.Session(INSTALLER, NAME, wizard.gateway_routes(newest="2.0.9.9")) as run:
            run.click(self.reminder(run), *OPEN)
            self.assertEqual(run.wait_exit(), 0)
            self.assertTrue(product.launched())
            records = run.quit_records()
        self.assertEqual(wizard.page_flow(records)[-2:],
                         [reinstall_event("打开软件"), ("event", "vSoftQuit", {"event_name": "软件退出"})])

    def test_close_button_and_alt_f4_end_the_run(self):
        for how in ("button", "alt+F4"):
            with self.subTest(how=how), wizard.InstalledProduct(INSTALLED_APP) as product, \
                    wizard.Session(INSTALLER, NAME, wizard.gateway_routes(newest="2.1")) as run:
                window = self.reminder(run)
                if how == "button":
                    run.click(window, *REMINDER_CLOSE)
                else:
                    run.key(window, "alt+F4")
                self.assertEqual(run.wait_exit(), 0)
                records = run.quit_records()
                self.assertFalse(product.launched(seconds=1))
            last = wizard.page_flow(records)[-2]
            if how == "button":
                self.assertEqual(last, reinstall_event("关闭"))
            else:
                self.assertEqual(last[:2], ("event", "vInstallPage"))

    def test_without_room_only_the_custom_page_leads_on(self):
        routes = wizard.gateway_routes(newest="9.9.9.9", installation_size=10**15)
        with wizard.InstalledProduct(INSTALLED_APP), wizard.Session(INSTALLER, NAME, routes) as run:
            page = run.window_of_size(600, 400)
            run.wait_pixel(page, "start_no_room", *START_INSTALL, GREY)
            run.click(page, *START_INSTALL)
            run.click(page, *CUSTOM_LINK)
            # The room rule runs with the next mouse moves over the page.
            run.move(page, *CUSTOM_BACK)
            run.move(page, 300, 60)
            shot = run.wait_pixel(page, "custom_installed_folder", *CUSTOM_INSTALL, GREY)
            self.assertTrue(wizard.region_has(shot, run.box(*CUSTOM_WARNING), WARNING_RED))
            run.click(page, *CUSTOM_INSTALL)
            run.click(page, *CUSTOM_BACK)
            run.wait_pixel(page, "start_no_room_again", *START_INSTALL, GREY)
            run.click(page, *START_CLOSE)
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
        self.assertEqual(wizard.page_flow(records), [
            ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "立即安装"}),
            ("action", "0001", "0005"),
            ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "自定义安装"}),
            ("action", "0001", "0001"),
            ("action", "0005", "0001"),
            ("event", "pCancelInstall", {"is_reinstall": False, "windows_name": "立即安装"}),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])


if __name__ == "__main__":
    unittest.main()
