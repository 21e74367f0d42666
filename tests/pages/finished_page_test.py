"""The finished page, entered directly as after a successful install (the
test driver): the hand-off file, the welcome page address with the site root
and with a channel's own page, "pSoftInstallResult", and both buttons."""

import hashlib
import os
import re
import unittest

import wizard
from wizard import ORANGE

DRIVER = os.environ["TESSARO_FINISH_DRIVER"]
INSTALLED_APP = os.environ["TESSARO_INSTALLED_APP"]
NAME = "TessaroSetup_ruva3600.exe"
CLOSE = (570, 32)
LAUNCH = (222, 324)


def md5(text):
    return hashlib.md5(text.encode("utf-8")).hexdigest()


class FinishedPageTest(unittest.TestCase):
    def check_address(self, url, base, mid, version):
        pattern = (re.escape(base) + r"_channel=ruva3600&_mid=" + re.escape(mid) +
                   r"&cam=([0-9a-f]{32})?&app_version=" + re.escape(version) +
                   r"&time_stamp=(\d+)&session_id=([0-9a-f]{32})")
        match = re.match(pattern, url)
        self.assertIsNotNone(match, url)
        hashed = url[:match.start(3) - len("&session_id=")]
        self.assertEqual(match.group(3), md5(hashed))
        return match

    def check_config(self, config, url, mid, cam, session, is_sem, account):
        self.assertEqual(config["install"], "1")
        self.assertEqual(config["is_sem"], is_sem)
        self.assertEqual(config["channel_id"], "ruva3600")
        self.assertEqual(config["mid"], mid)
        # Without a network adapter (the test's namespace) the identity and so
        # cam are empty, and an empty value is not written.
        self.assertEqual(config.get("cam"), cam)
        self.assertEqual(config["app_id"], "52718340")
        self.assertEqual(config["app_version"], "2.1.0.5")
        self.assertEqual(config["session_id"], session)
        self.assertEqual(config["welcome_url"], url)
        self.assertTrue(config["end_timestamp"].isdigit())
        self.assertEqual(config.get("advertising_account_name"), account)

    def test_site_root_address_and_close(self):
        with wizard.Session(DRIVER, NAME, wizard.gateway_routes(newest="2.1.0.5")) as run:
            page = run.main_window()
            run.wait_pixel(page, "finished", *LAUNCH, ORANGE)
            urls = run.new_urls()
            config = wizard.read_config()
            run.click(page, *CLOSE)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
        mid = next(r["mid"] for r in records if r.get("mid"))
        self.assertEqual(len(urls), 1, urls)
        match = self.check_address(urls[0], wizard.SITE_ROOT + "?", mid, "2.1.0.5")
        self.assertEqual(urls[0], match.group(0))
        self.check_config(config, urls[0], mid, match.group(1), match.group(3), "0", None)
        flow = [s for s in wizard.page_flow(records, since="vResourceStatus") if s[1] != "vOpenUrl"]
        self.assertEqual(flow, [
            ("event", "pSoftInstallResult", {
                "is_first_install": True, "is_reinstall": False, "install_status": "安装成功",
                "soft_package_name": "TessaroSetup_ruva3600", "install_type": "安装器"}),
            ("event", "pCloseStartPage", {}),
            ("action", "0004", "0001"),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])

    def test_channel_page_address_and_launch(self):
        welcome = {"welcomeUrl": "http://127.0.0.1:18084/welcome?from=ad", "advertisingAccountName": "acct"}
        routes = wizard.gateway_routes(newest="2.1.0.5", welcome=welcome)
        with wizard.InstalledProduct(INSTALLED_APP) as product, wizard.Session(DRIVER, NAME, routes) as run:
            page = run.main_window()
            run.wait_pixel(page, "finished_channel_page", *LAUNCH, ORANGE)
            urls = run.new_urls()
            config = wizard.read_config()
            run.click(page, *LAUNCH)
            self.assertEqual(run.wait_exit(), 0)
            self.assertTrue(product.launched())
            records = run.quit_records()
        mid = next(r["mid"] for r in records if r.get("mid"))
        self.assertEqual(len(urls), 1, urls)
        match = self.check_address(urls[0], welcome["welcomeUrl"] + "&", mid, "2.1.0.5")
        encoded_root = wizard.SITE_ROOT.replace(":", "%3A").replace("/", "%2F")
        self.assertEqual(urls[0][match.end():], f"&ad_account=acct&def_welcom_url={encoded_root}")
        self.check_config(config, urls[0], mid, match.group(1), match.group(3), "1", "acct")
        flow = [s for s in wizard.page_flow(records, since="pSoftInstallResult") if s[1] != "vOpenUrl"]
        self.assertEqual(flow, [
            ("event", "pImmediateUse", {}),
            ("action", "0004", "0002"),
            ("event", "vSoftQuit", {"event_name": "软件退出"}),
        ])


if __name__ == "__main__":
    unittest.main()
