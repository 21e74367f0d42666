"""A first install end to end, then a second run that reuses the package.

First run: "立即安装" on the start page, the package fetched from nginx in
two ranges, the setup package started with the exact silent command line,
the progress page between 80 and 99 % while the setup runs, the finished page,
config.ini complete, the welcome page opened, "立即体验" starting the
installed Tessaro.exe, and the run's events up to "vSoftQuit".

Second run, with the product installed at the newest version: the reinstall
reminder, "直接安装", and the package taken from the cache without a request
to the CDN ("存在本地文件")."""

import hashlib
import os
import time
import unittest

import install_run
from install_run import (DEFAULT_FOLDER, FINISHED_CLOSE, FINISHED_LAUNCH, PACKAGE, PORTS,
                         REMINDER_REINSTALL, START_INSTALL, STATUS_BOX, InstallRun, Stack, Work,
                         events, prefix_state, setup_line, wintest, wizard)

INSTALL_INI = os.path.join(prefix_state.unix_path(DEFAULT_FOLDER), "install.ini")


def md5_of(path):
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()


class HappyPathTest(unittest.TestCase):
    def watch_install(self, run, page, work):
        """Shots of the progress page taken while the setup program runs:
        [(bar fraction, status text pixels)]. A shot counts when the setup
        had started a second before it (time for the page to repaint) and
        had not installed yet after it."""
        samples = []
        started = []

        def finished():
            if os.path.exists(INSTALL_INI):
                return True
            if not started and work.setup_lines():
                started.append(time.monotonic())
            settled = bool(started) and time.monotonic() - started[0] >= 1.0
            shot = run.shot("progress_installing" if started else "progress", page)
            if settled and not os.path.exists(INSTALL_INI):
                samples.append((run.bar_fraction(shot), wizard.region_colors(shot, *run.box(*STATUS_BOX))))
            return False

        try:
            wintest.wait_until(finished, 60, "the setup program did not install")
        except AssertionError as error:
            raise AssertionError(f"no install; events {run.stack.event_names()}, "
                                 f"CDN {run.stack.package_requests()}") from error
        return samples

    def first_install(self, work):
        with Stack(PACKAGE, PORTS) as stack, \
                InstallRun(stack, env=work.env(variant="run=5000")) as run:
            page = run.start_page()
            run.click(page, *START_INSTALL)
            samples = self.watch_install(run, page, work)
            page = run.finished_page()
            urls = run.new_urls()
            config = prefix_state.read_config()
            record = prefix_state.product_record()
            run.click(page, *FINISHED_LAUNCH)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
            requests = stack.package_requests()
            app_window, app = install_run.installed_app(run.display)
            install_run.close_window(run.display, app_window)

        # The progress page while the setup runs: 80..99 %, moving on.
        fractions = [fraction for fraction, _ in samples]
        self.assertGreaterEqual(len(samples), 2, fractions)
        for fraction in fractions:
            self.assertTrue(0.79 <= fraction <= 0.995, fractions)
        self.assertGreater(max(fractions) - min(fractions), 0.01, fractions)
        self.assertNotEqual(samples[0][1], samples[-1][1], "the status text did not change")

        # Two ranges over two connections, nothing else fetched.
        half = stack.package_size // 2
        gets = sorted((r["range"], r["status"]) for r in requests if r["method"] == "GET")
        self.assertEqual(gets, [(f"bytes=0-{half - 1}", 206), (f"bytes={half}-{stack.package_size - 1}", 206)])

        # The package in the cache, recorded, and run with the exact line.
        package = config["path"]
        self.assertEqual(config["md5"], stack.package_md5)
        self.assertEqual(md5_of(prefix_state.unix_path(package)), stack.package_md5)
        self.assertEqual(work.setup_lines(), [setup_line(package)])
        self.assertEqual(record["DisplayIcon"], DEFAULT_FOLDER + "\\Tessaro.exe")

        # config.ini complete; the welcome page opened with the same address.
        mid = next(r["mid"] for r in records if r.get("mid"))
        self.assertEqual(len(urls), 1, urls)
        self.assertTrue(urls[0].startswith(f"{PORTS.site_root}?_channel=ruva3600&_mid={mid}&cam="), urls[0])
        for key, value in {"install": "1", "is_sem": "0", "channel_id": "ruva3600", "mid": mid,
                           "app_id": "52718340", "app_version": "2.1.0.5", "welcome_url": urls[0]}.items():
            self.assertEqual(config.get(key), value, key)
        for key in ("begin_timestamp", "end_timestamp"):
            self.assertTrue(config.get(key, "").isdigit(), key)
        self.assertRegex(config.get("session_id", ""), "^[0-9a-f]{32}$")

        # "立即体验" started the installed program.
        self.assertEqual(app, DEFAULT_FOLDER + "\\Tessaro.exe")

        names = [name for name, _ in events(records)]
        sent = dict(events(records))
        road = ["vJoinPlan", "vSoftDownloadStart", "pSoftDownloadResult", "vSoftInstallStart",
                "pSoftInstallResult", "pImmediateUse", "vSoftQuit"]
        self.assertEqual([name for name in names if name in road], road)
        self.assertEqual(sent["vJoinPlan"], {"choose_join_plan": True})
        self.assertEqual(sent["pSoftDownloadResult"]["soft_download_status"], "下载成功")
        self.assertEqual(sent["pSoftInstallResult"]["install_status"], "安装成功")
        self.assertNotIn("vSoftInstallError", names)
        return package

    def second_run(self, work, package):
        with Stack(PACKAGE, PORTS) as stack, InstallRun(stack, env=work.env(), tag="again_", fresh=False) as run:
            reminder = run.window_of_size(400, 200)
            run.wait_pixel(reminder, "reminder", *REMINDER_REINSTALL, install_run.ORANGE)
            run.click(reminder, *REMINDER_REINSTALL)
            page = run.start_page()
            run.click(page, *START_INSTALL)
            page = run.finished_page()
            run.click(page, *FINISHED_CLOSE)
            self.assertEqual(run.wait_exit(), 0)
            records = run.quit_records()
            requests = stack.package_requests()

        self.assertEqual([r for r in requests if r["method"] == "GET"], [])
        self.assertEqual(work.setup_lines(), [setup_line(package)] * 2)
        results = [props for name, props in events(records) if name == "pSoftDownloadResult"]
        self.assertEqual(results, [{"soft_download_status": "存在本地文件", "download_time": -1}])
        installed = [props for name, props in events(records) if name == "pSoftInstallResult"]
        self.assertEqual(len(installed), 1)
        self.assertTrue(installed[0]["is_reinstall"])

    def test_first_install_and_a_second_run_from_the_cache(self):
        with Work("happy") as work:
            package = self.first_install(work)
            self.second_run(work, package)


if __name__ == "__main__":
    unittest.main()
