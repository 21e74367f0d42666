"""Runs the whole install under Wine for a person to look at.

    demo.py <TessaroSetup.exe> <TessaroPackage-<version>.exe> <NQUID.dll>

Starts the local peers (testbed/stack.py: gateway fixture, nginx as the CDN
with the stand-in setup package, analytics collector, report service), runs
the installer on the X display that tests/harness/in-netns chose (yours with
DISPLAY, else a private Xvfb) and drives the happy path itself: "立即安装",
the progress page, the finished page, "立即体验". It saves a screenshot of
every page into the artifacts folder and prints where Tessaro was installed,
the welcome page that was opened, the package requests the CDN served, the
install report and the events the collector received.

The setup package is told to take a few seconds, so that the install phase
of the progress page can be seen. The channel's answer asks for the install
report, and NQUID.dll lies in the SDK cache as another program of the maker
would leave it, so the report is posted too. Tessaro is removed from the test
prefix again at the end: the tests expect a prefix without it.
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "install"))
from install_run import (FINISHED_LAUNCH, START_INSTALL, InstallRun, Ports, Stack, close_window,  # noqa: E402
                         installed_app, prefix_state, wintest, wizard)

SETUP_SECONDS = 4
WELCOME = {"appName": "Tessaro", "nequilOcpc": True}


def say(text):
    print(f"demo: {text}", flush=True)


def progress_shot(run, page):
    """Shots of the progress page until the bar shows the setup running; the last is kept."""
    def progressing():
        shot = run.shot("progress", page)
        return shot if run.on_progress_page(shot) and run.bar_fraction(shot) > 0.81 else None
    return wintest.wait_until(progressing, 60, "the progress page showed no progress")


def drive(run, pause):
    """The happy path; returns the screenshots it saved."""
    shots = []
    page = run.start_page()
    shots.append(run.shot("start", page))
    pause()
    run.click(page, *START_INSTALL)
    shots.append(progress_shot(run, page))
    page = run.finished_page()
    shots.append(run.shot("finished", page))
    pause()
    run.click(page, *FINISHED_LAUNCH)
    code = run.wait_exit(60)
    say(f"the installer ended with exit code {code}")
    app, program = installed_app(run.display)
    say(f"started {program}")
    time.sleep(1)  # its first paint
    shots.append(wintest.screenshot(run.display, "demo_installed_app", app))
    pause()
    close_window(run.display, app)
    return shots


def value_text(value):
    text = str(value)
    return text if len(text) <= 70 else text[:67] + "..."


def report(stack, run, records):
    record = prefix_state.product_record() or {}
    config = prefix_state.read_config()
    say(f"Tessaro installed in {record.get('InstallLocation', '(no uninstall entry)')} "
        f"(version {record.get('DisplayVersion', '?')}, {record.get('DisplayIcon', '?')})")
    if record.get("InstallLocation"):
        say(f"  on Linux: {prefix_state.unix_path(record['InstallLocation'])}")
    say(f"package cached at {config.get('path', '?')} (md5 {config.get('md5', '?')})")
    for url in run.urls_since_start():
        say(f"opened in the browser: {url}")
    for entry in stack.package_requests():
        say(f"CDN: {entry['method']} {entry['path']} {entry['range'] or '(whole)'} -> {entry['status']}, "
            f"{entry['sent']} bytes")
    for sent in stack.report.reports or [{"fields": "none arrived"}]:
        say(f"install report: {sent['fields']}")
    say(f"the collector received {len(records)} records; events in order:")
    for record in records:
        if record.get("kind") != 6:
            continue
        props = ", ".join(f"{key}={value_text(value)}" for key, _, value in wizard.properties(record))
        print(f"  {wizard.event_name(record)}" + (f"  ({props})" if props else ""))


def demo(installer, package, nquid):
    ports = Ports.of_build(wintest.BUILD_DIR)
    on_screen = not os.environ.get("TESSARO_XVFB")
    pause = (lambda: time.sleep(1.5)) if on_screen else (lambda: None)
    say(f"showing the installer on {os.environ.get('DISPLAY')}" if on_screen else "running headless on Xvfb")
    with Stack(package, ports, welcome=WELCOME, report=True) as stack:
        say(f"gateway on 127.0.0.1:{ports.gateway} names {stack.package_url} "
            f"({stack.package_size} bytes, md5 {stack.package_md5}); collector on :{ports.analytics}, "
            f"report service on :{ports.report}")
        env = {"TESSARO_SETUP_VARIANT": f"run={SETUP_SECONDS * 1000}"}
        with InstallRun(stack, env=env, installer=installer, prefix="demo_", sdk_files=[nquid]) as run:
            try:
                shots = drive(run, pause)
            except AssertionError as error:
                say(f"stopped: {error}")
                say(f"screenshots so far are in {wintest.ARTIFACTS}")
                return 1
            records = run.quit_records()
        report(stack, run, records)
    for shot in shots:
        say(f"screenshot: {shot}")
    return 0


def main(installer, package, nquid):
    prefix_state.remove_product()
    try:
        return demo(installer, package, nquid)
    finally:
        # The test prefix is shared with the tests, which expect no Tessaro there.
        prefix_state.remove_product()
        prefix_state.clear_installer_cache()
        say("Tessaro and the package cache are removed from the test prefix again")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
