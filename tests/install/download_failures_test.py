"""Three failed downloads in one run: "pSoftDownloadResult" with "下载失败"
each time, the retry dialog twice ("立即重试"), then the manual download
dialog, whose "确认" hands the package address to the URL opener and ends
the run.

Two ways to fail: the package address answers 404 (the URL query finds
nothing, so the manual download offers the fixed fallback address), and a
package whose MD5 does not match the package information (downloaded in
full every time, so the manual download offers the package's own address)."""

import unittest

from install_run import PACKAGE, PORTS, START_INSTALL, InstallRun, Stack, Work, actions, events

FALLBACK = f"https://{PORTS.cdn_host}:{PORTS.cdn}/application/soft_package/pc/52718340/software/install.exe"
FAILED = {"soft_download_status": "下载失败", "download_time": -1}


class DownloadFailuresTest(unittest.TestCase):
    def three_failures(self, work, stack, name):
        """Runs the installer until the manual download dialog's "确认" has
        ended it; returns (records, new URLs)."""
        with InstallRun(stack, env=work.env(), tag=name + "_") as run:
            page = run.start_page()
            run.click(page, *START_INSTALL)
            run.click_through_dialogs("download_failed")
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
            urls = run.urls_since_start()
        self.assertEqual([props for name, props in events(records) if name == "pSoftDownloadResult"], [FAILED] * 3)
        self.assertEqual([a for a in actions(records) if a[0] in ("0007", "0010")],
                         [("0007", "0001"), ("0007", "0001"), ("0010", "0001")])
        self.assertNotIn("vSoftInstallStart", [name for name, _ in events(records)])
        self.assertEqual(work.setup_lines(), [])
        return records, urls

    def test_package_address_not_found(self):
        with Work("download404") as work, Stack(PACKAGE, PORTS) as stack:
            stack.set_package(downloadUrl=stack.package_url + ".missing")
            _, urls = self.three_failures(work, stack, "missing")
            heads = [r for r in stack.cdn.requests() if r["path"].endswith(".missing")]
        self.assertEqual(urls, [FALLBACK])
        self.assertGreaterEqual(len(heads), 3)
        self.assertTrue(all(r["status"] == 404 for r in heads), heads)

    def test_package_with_a_wrong_md5(self):
        with Work("download_md5") as work, Stack(PACKAGE, PORTS) as stack:
            stack.set_package(md5="0" * 32)
            _, urls = self.three_failures(work, stack, "md5")
            gets = [r for r in stack.package_requests() if r["method"] == "GET"]
        self.assertEqual(urls, [stack.package_url])
        # Every attempt fetches both ranges again from the start.
        half = stack.package_size // 2
        self.assertEqual(sorted(r["range"] for r in gets),
                         sorted([f"bytes=0-{half - 1}", f"bytes={half}-{stack.package_size - 1}"] * 3))


if __name__ == "__main__":
    unittest.main()
