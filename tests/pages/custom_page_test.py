"""The custom install page of a first install: typed folders, the plan check
box, the cancel dialog opened from this page (page code "0006"), and opting
out of the experience plan, after which the run sends nothing more."""

import os
import unittest

import wizard
from wizard import GREY, ORANGE, WARNING_RED

INSTALLER = os.environ["TESSARO_INSTALLER"]

CUSTOM = (520, 369)
BACK = (40, 32)
EDIT = (300, 148)
BROWSE = (535, 148)
WARNING_BOX = (372, 178, 556, 202)
BROWSER_TITLE = "^Browse for Folder$"  # Wine's folder browser, English prefix
TITLE = (100, 94)
PLAN = (133, 232)
INSTALL = (222, 310)
DIALOG_CONFIRM = (250, 164)
DIALOG_DISMISS = (338, 164)


class CustomPageTest(unittest.TestCase):
    def open_custom_page(self, run):
        page = run.main_window()
        run.wait_pixel(page, "start_before_custom", 222, 279, ORANGE)
        run.click(page, *CUSTOM)
        run.wait_pixel(page, "custom", *INSTALL, ORANGE)
        return page

    def type_folder(self, run, page, folder, shot):
        run.click(page, *EDIT)
        run.key(page, "End")
        run.key(page, "shift+Home")
        wizard.type_text(run, folder)
        run.click(page, *TITLE)  # the edit box loses the focus: the folder is applied
        return run.shot(shot, page)

    def test_folders_plan_and_opting_out(self):
        with wizard.Session(INSTALLER, "TessaroSetup_ruva3600.exe", wizard.gateway_routes()) as run:
            page = self.open_custom_page(run)
            # The test prefix has no drive D:, so nothing is free there.
            self.type_folder(run, page, "D:\\", "custom_typed_drive_d")
            run.move(page, *BROWSE)
            run.move(page, *TITLE)
            shot = run.wait_pixel(page, "custom_no_room", *INSTALL, GREY)
            self.assertTrue(wizard.region_has(shot, run.box(*WARNING_BOX), WARNING_RED))
            self.type_folder(run, page, "C:\\a*b", "custom_invalid_restored")
            self.type_folder(run, page, "C:\\Apps", "custom_typed_apps")
            run.move(page, *BROWSE)
            run.move(page, *TITLE)
            shot = run.wait_pixel(page, "custom_room_again", *INSTALL, ORANGE)
            self.assertFalse(wizard.region_has(shot, run.box(*WARNING_BOX), WARNING_RED))

            # Cancel dialog from this page, dismissed.
            run.key(page, "alt+F4")
            dialog = run.window_of_size(400, 200)
            run.click(dialog, *DIALOG_DISMISS)
            run.gone(400, 200)

            # Back to the start page and here again: the page keeps its state.
            run.click(page, *BACK)
            run.wait_pixel(page, "start_after_back", 222, 279, ORANGE)
            run.click(page, *CUSTOM)
            run.wait_pixel(page, "custom_again", *INSTALL, ORANGE)

            # Install with the plan: the join-plan record; the gateway names no
            # package here, so the download fails and "稍后重试" leads back to
            # the start page.
            run.click(page, *INSTALL)
            run.records_until(lambda rs: any(wizard.event_name(r) == "vJoinPlan" for r in rs))
            self.dismiss_retry(run, page)
            # Opting out: the last record of the run.
            run.click(page, *CUSTOM)
            run.wait_pixel(page, "custom_third", *INSTALL, ORANGE)
            run.click(page, *PLAN)
            run.shot("custom_plan_cleared", page)
            run.click(page, *INSTALL)
            run.records_until(lambda rs: sum(wizard.event_name(r) == "vJoinPlan" for r in rs) == 2)
            self.dismiss_retry(run, page)
            run.key(page, "alt+F4")
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)
            records = run.collector.records()

        start_page = ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "立即安装"})
        custom_page = ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "自定义安装"})
        confirm = ("event", "pConfirmInstall", {"confirm_entrance": "开始安装"})
        failed = ("event", "pSoftDownloadResult", {"soft_download_status": "下载失败", "download_time": -1})
        flow = wizard.page_flow(records)
        self.assertEqual(flow[:8], [
            start_page,
            ("action", "0001", "0005"),
            custom_page,
            ("action", "0006", "0002"),
            ("action", "0001", "0005"),
            confirm,
            ("action", "0002", "0005"),
            ("event", "vJoinPlan", {"choose_join_plan": True}),
        ])
        # The failed download and the dismissed retry dialog (page code
        # "0007"), then the second visit of the custom page.
        self.assertIn(failed, flow[8:])
        self.assertLess(flow.index(failed), flow.index(("action", "0007", "0002")))
        self.assertEqual(flow[-4:], [
            ("action", "0001", "0005"),
            confirm,
            ("action", "0002", "0005"),
            ("event", "vJoinPlan", {"choose_join_plan": False}),
        ])

    def dismiss_retry(self, run, page):
        dialog = run.window_of_size(400, 200, seconds=90)
        run.click(dialog, *DIALOG_DISMISS)
        run.gone(400, 200)
        run.wait_pixel(page, "start_after_retry_dismissed", 222, 279, ORANGE)

    def test_folder_browser(self):
        with wizard.Session(INSTALLER, "TessaroSetup_ruva3600.exe", wizard.gateway_routes()) as run:
            page = self.open_custom_page(run)
            # Cancelled: nothing changes.
            run.click(page, *BROWSE)
            browser = wizard.wintest.find_window(run.display, title=BROWSER_TITLE)
            run.key(browser, "Escape")
            wizard.wintest.wait_until(lambda: not wizard.visible_windows(run.display, BROWSER_TITLE), 15,
                                      "the folder browser stayed")
            # The desktop (selected at first) is a folder: it is taken.
            run.click(page, *BROWSE)
            browser = wizard.wintest.find_window(run.display, title=BROWSER_TITLE)
            run.shot("folder_browser", browser)
            run.key(browser, "Return")
            wizard.wintest.wait_until(lambda: not wizard.visible_windows(run.display, BROWSER_TITLE), 15,
                                      "the folder browser stayed")
            run.wait_pixel(page, "custom_desktop_chosen", *INSTALL, ORANGE)
            self.assertEqual(wizard.visible_windows(run.display, "^路径选择错误$"), {})
            # The trash, last in the tree, has no file-system path.
            run.click(page, *BROWSE)
            browser = wizard.wintest.find_window(run.display, title=BROWSER_TITLE)
            run.key(browser, "End")
            run.key(browser, "Return")
            box = wizard.wintest.find_window(run.display, title="^路径选择错误$")
            run.shot("folder_not_a_path", box)
            run.key(box, "Return")
            wizard.wintest.wait_until(lambda: not wizard.visible_windows(run.display, "^路径选择错误$"), 15,
                                      "the message box stayed")
            self.assertTrue(run.program.running())
            run.key(page, "alt+F4")
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)

    def test_confirming_the_cancel_on_the_custom_page(self):
        with wizard.Session(INSTALLER, "TessaroSetup_ruva3600.exe", wizard.gateway_routes()) as run:
            page = self.open_custom_page(run)
            run.key(page, "alt+F4")
            run.click(run.window_of_size(400, 200), *DIALOG_CONFIRM)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
        flow = wizard.page_flow(records)
        self.assertEqual(flow[-4:], [
            ("event", "vInstallPage", {"is_reinstall": False, "windows_name": "自定义安装"}),
            ("action", "0006", "0001"),
            ("event", "pCancelInstall", {"is_reinstall": False, "windows_name": "自定义安装"}),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])


if __name__ == "__main__":
    unittest.main()
