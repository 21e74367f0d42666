"""The toolkit on real pixels: the demonstration program under Wine and Xvfb.

Checked at 96 DPI and, in a copy of the test prefix whose LogPixels is 144, at
144 DPI: the page window's size and centring, button fills per state under a
real mouse, the progress bar and its track, a click, the banner playing the
GIF named by the gateway fixture's installerConfig, and a layered dialog whose
rounded corners are transparent, with a square and a rounded 5-pixel border.
Xvfb has no compositor, so only fully transparent versus opaque is checked.
"""

import http.server
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "harness"))
import wintest  # noqa: E402

DEMO = os.environ["TESSARO_UI_DEMO"]
BANNER_GIF = os.environ["TESSARO_UI_BANNER_GIF"]
GATEWAY = os.environ["TESSARO_GATEWAY_FIXTURE"]
CONFIG_PATH = "/applicationService/app/installerConfig"

NORMAL, HOVER, PRESSED, DISABLED = (0x41, 0x97, 0xFF), (0x62, 0xA6, 0xFB), (0x18, 0x73, 0xDE), \
    (0xD8, 0xD8, 0xD8)
TRACK = (0xEE, 0xEE, 0xEE)
WHITE = (255, 255, 255)
BORDER_RED = (0xE5, 0x39, 0x35)
CLOSE_HOVER_RED = (0xF2, 0x5C, 0x5C)
GIF_FRAMES = {(0xE7, 0x4C, 0x3C), (0x2E, 0xCC, 0x71), (0x34, 0x98, 0xDB)}


def near(actual, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(actual, expected))


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class GifServer:
    """Serves the banner GIF at /banner.gif on a loopback port."""

    def __init__(self, path):
        with open(path, "rb") as gif:
            body = gif.read()

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):  # noqa: N802
                if self.path != "/banner.gif":
                    self.send_error(404)
                    return
                self.send_response(200)
                self.send_header("Content-Type", "image/gif")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Gateway:
    """The gateway fixture answering installerConfig with the GIF's address."""

    def __init__(self, folder, gif_port):
        routes = os.path.join(folder, "routes.json")
        reply = {"code": "server.success", "message": "ok",
                 "data": {"ProductsShow": {"gif_url": f"http://127.0.0.1:{gif_port}/banner.gif"}}}
        with open(routes, "w", encoding="utf-8") as f:
            json.dump({CONFIG_PATH: {"status": 200, "body": reply}}, f)
        self.log = os.path.join(folder, "requests.jsonl")
        self.port = free_port()
        self.process = subprocess.Popen(
            [sys.executable, GATEWAY, "--port", str(self.port), "--routes", routes, "--log", self.log],
            stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise wintest.HarnessError("gateway fixture did not start")

    def requests(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def close(self):
        self.process.kill()
        self.process.wait()


class Demo:
    """The running demonstration program and the rectangles it printed."""

    def __init__(self, display, gateway_port, env=None):
        self.program = wintest.WineProgram(DEMO, [str(gateway_port)], display=display, env=env)
        self.rects = {}
        self.scale = None
        self.dpi = None
        self.read_until("ready")

    def read_until(self, marker):
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            line = self.program.process.stdout.readline().decode("utf-8", "replace").strip()
            if not line and not self.program.running():
                raise wintest.HarnessError("demo ended early")
            words = line.split()
            if words[:1] == ["rect"]:
                self.rects[words[1]] = tuple(int(v) for v in words[2:6])
            elif words[:1] == ["scale"]:
                self.scale, self.dpi = float(words[1]), float(words[3])
            elif line == marker:
                return
        raise wintest.HarnessError(f"no {marker!r} from the demo")

    def centre(self, name):
        left, top, right, bottom = self.rects[name]
        return (left + right) // 2, (top + bottom) // 2

    def left_middle(self, name, inset=4):
        """A point of the widget's fill: beside its text, clear of its rounded corners."""
        left, top, _, bottom = self.rects[name]
        return left + inset, (top + bottom) // 2


def wait_for_pixel(display, window, name, point, expected, tolerance=3, seconds=20):
    """Screenshots the window until `point` shows `expected`; paints under Wine are slow."""
    deadline = time.monotonic() + seconds
    while True:
        shot = wintest.screenshot(display, name, window)
        color = wintest.pixel(shot, *point)
        if near(color, expected, tolerance):
            return shot
        if time.monotonic() > deadline:
            raise AssertionError(f"{name}: {point} shows {color}, expected {expected}")
        time.sleep(0.2)


def mouse(display, *args):
    subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": display},
                   check=True, capture_output=True)


class ToolkitRenderTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="ui-render-")
        self.gif = GifServer(BANNER_GIF)
        self.gateway = Gateway(self.folder, self.gif.port)

    def tearDown(self):
        self.gateway.close()
        self.gif.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def test_at_96_dpi(self):
        self.check_demo(1.0, "dpi96")

    def test_at_144_dpi(self):
        prefix = os.path.join(os.environ["TESSARO_BUILD_DIR"], "ui-render-dpi144-prefix")
        shutil.rmtree(prefix, ignore_errors=True)
        wintest.copy_prefix(prefix)
        env = {"WINEPREFIX": prefix}
        try:
            for key in (r"HKCU\Control Panel\Desktop", r"HKCU\Software\Wine\Fonts",
                        r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
                subprocess.run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD",
                                "/d", "144", "/f"], env={**os.environ, **env}, check=True,
                               capture_output=True)
            self.check_demo(1.5, "dpi144", env)
        finally:
            subprocess.run(["wineserver", "-k"], env={**os.environ, **env}, capture_output=True)
            subprocess.run(["wineserver", "-w"], env={**os.environ, **env}, capture_output=True)
            shutil.rmtree(prefix, ignore_errors=True)

    def check_demo(self, scale, tag, env=None):
        with wintest.xvfb() as display:
            demo = Demo(display, self.gateway.port, env)
            try:
                self.assertAlmostEqual(demo.scale, scale)
                self.assertAlmostEqual(demo.dpi, scale)
                window = wintest.find_window(display, title="^Tessaro$")
                self.check_page_window(display, window, scale)
                self.check_page_pixels(display, window, demo, tag)
                self.check_banner(display, window, demo, tag)
                self.check_mouse(display, window, demo, tag)
                self.check_dialog(display, window, demo, scale, tag)
                # The picture-only close button ends the program.
                left, top, _, _ = wintest.window_geometry(display, window)
                x, y = demo.centre("page.close")
                mouse(display, "mousemove", left + x, top + y)
                mouse(display, "click", 1)
                self.assertEqual(demo.program.wait(60), 0)
            finally:
                demo.program.kill()
                sys.stdout.write(demo.program.output()[-4000:])

    def check_page_window(self, display, window, scale):
        x, y, width, height = wintest.window_geometry(display, window)
        self.assertEqual((width, height), (round(600 * scale), round(400 * scale)))
        screen_width, screen_height = wintest.screen_size(display)
        self.assertLessEqual(abs(x - (screen_width - width) // 2), 1)
        self.assertLessEqual(abs(y - (screen_height - height) // 2), 1)

    def check_page_pixels(self, display, window, demo, tag):
        shot = wintest.screenshot(display, f"ui_page_{tag}", window)
        self.assertTrue(near(wintest.pixel(shot, *demo.left_middle("page.install")), NORMAL))
        self.assertTrue(near(wintest.pixel(shot, *demo.left_middle("page.disabled")), DISABLED))
        left, top, right, bottom = demo.rects["page.progress"]
        middle = (top + bottom) // 2
        width = right - left
        self.assertTrue(near(wintest.pixel(shot, left + width // 4, middle), NORMAL))
        self.assertTrue(near(wintest.pixel(shot, left + 3 * width // 4, middle), TRACK))

    def check_banner(self, display, window, demo, tag):
        """The banner leaves its fallback for the GIF's frames and keeps changing them."""
        centre = demo.centre("page.banner")
        seen = set()
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and len(seen) < 2:
            shot = wintest.screenshot(display, f"ui_banner_{tag}", window)
            color = wintest.pixel(shot, *centre)
            seen |= {frame for frame in GIF_FRAMES if near(color, frame)}
            time.sleep(0.15)
        self.assertGreaterEqual(len(seen), 2, "the banner did not animate the fixture's GIF")
        targets = [entry["target"] for entry in self.gateway.requests()]
        self.assertIn(CONFIG_PATH + "?appId=52718340", targets)

    def check_mouse(self, display, window, demo, tag):
        left, top, _, _ = wintest.window_geometry(display, window)
        fill = demo.left_middle("page.install")
        x, y = demo.centre("page.install")
        mouse(display, "mousemove", left + x, top + y)
        wait_for_pixel(display, window, f"ui_hover_{tag}", fill, HOVER)
        mouse(display, "mousedown", 1)
        wait_for_pixel(display, window, f"ui_pressed_{tag}", fill, PRESSED)
        mouse(display, "mouseup", 1)
        # The click fills the progress bar; the button hovers again.
        p_left, p_top, p_right, p_bottom = demo.rects["page.progress"]
        far = (p_left + 3 * (p_right - p_left) // 4, (p_top + p_bottom) // 2)
        shot = wait_for_pixel(display, window, f"ui_clicked_{tag}", far, NORMAL)
        self.assertTrue(near(wintest.pixel(shot, *fill), HOVER))

        # The picture-only close button shows its hover picture.
        c_left, c_top, c_right, c_bottom = demo.rects["page.close"]
        probe = (c_left + (c_right - c_left) // 5, (c_top + c_bottom) // 2)
        self.assertFalse(near(wintest.pixel(shot, *probe), CLOSE_HOVER_RED, 20))
        cx, cy = demo.centre("page.close")
        mouse(display, "mousemove", left + cx, top + cy)
        wait_for_pixel(display, window, f"ui_close_hover_{tag}", probe, CLOSE_HOVER_RED, 20)

    def check_dialog(self, display, window, demo, scale, tag):
        baseline = wintest.screenshot(display, f"ui_before_dialog_{tag}")
        left, top, _, _ = wintest.window_geometry(display, window)
        x, y = demo.centre("page.dialog")
        mouse(display, "mousemove", left + x, top + y)
        mouse(display, "click", 1)
        demo.read_until("dialog ready")
        time.sleep(0.8)
        shot = wintest.screenshot(display, f"ui_dialog_{tag}")
        origin = (20, 20)
        width, height = round(400 * scale), round(200 * scale)

        def at(point):
            return wintest.pixel(shot, origin[0] + point[0], origin[1] + point[1])

        def beneath(point):
            return wintest.pixel(baseline, origin[0] + point[0], origin[1] + point[1])

        # Rounded corners: what lay beneath still shows (over the page, whose
        # banner keeps playing, at least not the dialog's white); the body is
        # opaque white.
        page_x, page_y, page_w, page_h = wintest.window_geometry(display, window)
        for corner in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            self.assertNotEqual(at(corner), WHITE, f"corner {corner} is drawn")
            sx, sy = origin[0] + corner[0], origin[1] + corner[1]
            over_page = page_x <= sx < page_x + page_w and page_y <= sy < page_y + page_h
            if not over_page:
                self.assertEqual(at(corner), beneath(corner), f"corner {corner} is not transparent")
        self.assertEqual(at((width // 2, 3)), WHITE)
        self.assertEqual(at((3, height // 2)), WHITE)

        # A square 5-pixel border straddles the edge; a rounded one grows inward.
        border = int(5 * scale)
        for name, outside_red in (("dialog.square", True), ("dialog.round", False)):
            s_left, s_top, _, s_bottom = demo.rects[name]
            middle = (s_top + s_bottom) // 2
            outside = at((s_left - 2, middle))
            deep = at((s_left + border - 1, middle))
            self.assertEqual(near(outside, BORDER_RED, 10), outside_red, name)
            self.assertEqual(near(deep, BORDER_RED, 10), not outside_red, name)
            self.assertTrue(near(at((s_left + 1, middle)), BORDER_RED, 10), name)


if __name__ == "__main__":
    unittest.main()
