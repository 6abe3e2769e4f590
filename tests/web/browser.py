#!/usr/bin/python3
"""The page that `make web` builds, played in headless Chromium.

  browser.py WEB_DIR GAMES DATA

WEB_DIR is served on 127.0.0.1 at a free port; GAMES is the desktop build of
vantrixo_games, whose first game the page must play move for move; DATA is
data/, from which the expected frames are composed. The canvas is read back
with toDataURL, which gives its 400x400 pixels whatever the CSS scale.
"""

import base64
import functools
import http.server
import io
import os
import subprocess
import sys
import threading
import time

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "app"))
from x_session import AWAY, LAYOUT, Frames, cell_centre, centre  # noqa: E402

OPENING_RED = {(3, 4), (4, 3)}
OPENING_GREEN = {(3, 3), (4, 4)}
AFTER_RED = {(3, 4), (4, 3), (4, 4), (5, 4)}  # red's move on (5, 4)
# The canvas blends the pictures itself. Mostly Chromium rounds as SDL and the
# composed frames do, but at times it blends the half-transparent highlight
# through premultiplied alpha: seen, some 1,000 of its pixels off by one.
BLEND_TOLERANCE = 1
INDICATORS = ("redturn", "greenturn", "redwin", "greenwin", "nobodywin")


class Server:
    """WEB_DIR over HTTP on a free port of 127.0.0.1, in a thread."""

    def __init__(self, directory):
        handler = functools.partial(Quiet, directory=directory)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm"})

    def log_message(self, *args):
        pass


def chromium(width, height):
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    # Root needs --no-sandbox; the rest keeps Chromium off a closed network.
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--window-size=%d,%d" % (width, height)):
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))
    driver.set_page_load_timeout(20)
    driver.set_script_timeout(20)
    return driver


class Page:
    def __init__(self, driver, frames):
        self.driver = driver
        self.frames = frames

    def canvas(self):
        url = self.driver.execute_script(
            "return document.getElementById('canvas').toDataURL('image/png');")
        return Image.open(io.BytesIO(base64.b64decode(url.split(",", 1)[1]))).convert("RGB")

    def scale(self):
        return self.driver.execute_script(
            "return document.getElementById('canvas').getBoundingClientRect().width / 400;")

    def at(self, point):
        """Viewport coordinates of a canvas pixel's middle."""
        left, top, width = self.driver.execute_script(
            "var r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left, r.top, r.width];")
        return left + (point[0] + 0.5) * width / 400, top + (point[1] + 0.5) * width / 400

    def mouse(self, kind, point):
        x, y = self.at(point)
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y, "button": "left",
            "clickCount": 0 if kind == "mouseMoved" else 1})

    def click(self, point, hold=0.15):
        self.mouse("mouseMoved", point)
        self.mouse("mousePressed", point)
        time.sleep(hold)
        self.mouse("mouseReleased", point)
        self.mouse("mouseMoved", AWAY)

    def tap(self, point):
        """A quick tap of a finger: the release follows the press at once."""
        x, y = self.at(point)
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": "touchStart", "touchPoints": [{"x": x, "y": y}]})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": "touchEnd", "touchPoints": []})

    def key(self, hold):
        event = {"key": "Escape", "code": "Escape", "windowsVirtualKeyCode": 27}
        self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", dict(event, type="rawKeyDown"))
        time.sleep(hold)
        self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", dict(event, type="keyUp"))

    def until(self, condition, what, timeout=15):
        """The first canvas frame for which condition gives something true."""
        deadline = time.monotonic() + timeout
        while True:
            shot = self.canvas()
            found = condition(shot)
            if found:
                return found
            if time.monotonic() > deadline:
                shot.save("/tmp/vantrixo-web-%s.png" % what.replace(" ", "-"))
                raise AssertionError("timed out waiting for " + what)
            time.sleep(0.05)

    def wait(self, expected, what):
        """Until the canvas shows `expected` within the blending tolerance;
        prints how many pixels differ at all, and by how much at most."""
        def close(shot):
            difference = ImageChops.difference(shot, expected)
            worst = max(high for _, high in difference.getextrema())
            return difference if worst <= BLEND_TOLERANCE else None
        difference = self.until(close, what)
        print("ok: %s (%d pixels differ, by at most %d)" % (
            what, sum(1 for p in difference.getdata() if max(p) > 0),
            max(high for _, high in difference.getextrema())))

    def indicator(self, shot):
        """Which turn or result picture the frame shows, if any."""
        place = LAYOUT["INDICATOR"]
        for name in INDICATORS:
            size = Image.open(os.path.join(self.frames.data, "game", name + ".png")).size
            box = (place[0], place[1], place[0] + size[0], place[1] + size[1])
            expected = self.frames.compose([("game/tabuleiro.png", (0, 0), None),
                                            ("game/%s.png" % name, place, None)]).crop(box)
            diff = ImageChops.difference(shot.crop(box), expected)
            if max(high for _, high in diff.getextrema()) <= BLEND_TOLERANCE:
                return name
        return None


def two_players(page, frames):
    """Frames of a two-player opening, a held click and a touch tap, at scale 1."""
    page.click(centre(1))
    page.wait(frames.game(OPENING_RED, OPENING_GREEN, "redturn"), "the opening position")
    page.mouse("mouseMoved", cell_centre((5, 4)))
    page.wait(frames.game(OPENING_RED, OPENING_GREEN, "redturn", highlight=(5, 4)),
              "the highlight on a legal cell")
    page.click(cell_centre((5, 4)))
    page.wait(frames.game(AFTER_RED, {(3, 3)}, "greenturn"), "red's move and the new counts")
    # Green answers with a tap on (5, 3), turning (4, 3).
    page.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
    page.tap(cell_centre((5, 3)))
    page.wait(frames.game({(3, 4), (4, 4), (5, 4)}, {(3, 3), (4, 3), (5, 3)}, "redturn"),
              "green's move by a tap")
    page.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
    page.mouse("mouseMoved", AWAY)
    page.key(hold=0.04)
    page.wait(frames.menu(), "the menu after ESC")


def against_hard(page, frames, moves):
    """The desktop's first game at hard, depth 7, played at scale 2."""
    assert abs(page.scale() - 2) < 1e-6, "the canvas is not at scale 2: %s" % page.scale()
    page.click(centre(LAYOUT["DIFFICULTY_UP"]), hold=0.4)
    page.click(centre(LAYOUT["DEPTH_UP"]), hold=0.4)
    page.wait(frames.menu(difficulty="hard", depth=7), "hard, depth 7 on the menu")
    page.click(centre(2))
    # Every move adds one disc, on its cell, whatever it turns; a frame is
    # read once the discs have turned and a turn or result picture is back.
    occupied = OPENING_RED | OPENING_GREEN
    started = time.monotonic()

    def settled(shot, indicators):
        if page.indicator(shot) not in indicators:
            return None
        red, green = frames.discs(shot)
        return (red, green) if red | green == occupied else None

    # The computer's replies come within milliseconds of each other when red
    # has to pass: they are checked together, at red's next turn or the end.
    replies = set()
    for side, x, y in moves:
        if side == "red":
            shown = page.until(lambda shot: settled(shot, ("redturn",)), "red's turn")
            assert replies <= shown[1], "green did not reply on %s" % (replies - shown[1])
            replies = set()
            page.click(cell_centre((x, y)))
        else:
            replies.add((x, y))
        occupied = occupied | {(x, y)}
    red, green = page.until(lambda shot: settled(shot, INDICATORS[2:]), "the end of the game")
    assert replies <= green, "green did not reply on %s" % (replies - green)
    print("ok: the desktop's %d moves played in %.0f s, green's replies the same"
          % (len(moves), time.monotonic() - started))
    result = ("redwin" if len(red) > len(green)
              else "greenwin" if len(green) > len(red) else "nobodywin")
    page.wait(frames.game(red, green, result), "the end of the game (%s)" % result)


def main():
    web, games, data = sys.argv[1:4]
    for name in ("index.html", "vantrixo.js", "vantrixo.wasm", "vantrixo.data"):
        assert os.path.exists(os.path.join(web, name)), "%s/%s missing: run make web" % (web, name)
    # Beside its data/, as the program reads the value table.
    games = os.path.abspath(games)
    lines = subprocess.run([games, "1"], check=True, capture_output=True, text=True,
                           cwd=os.path.dirname(games), timeout=60).stdout.split("\n")
    moves = [(w[0], int(w[1]), int(w[2])) for w in (line.split() for line in lines)
             if w and w[0] in ("red", "green")]
    frames = Frames(data)
    server = Server(web)
    driver = None
    try:
        driver = chromium(640, 800)
        page = Page(driver, frames)
        driver.get(server.url)
        assert abs(page.scale() - 1) < 1e-6, "the canvas is not at scale 1: %s" % page.scale()
        page.wait(frames.menu(), "the menu")
        two_players(page, frames)
        driver.set_window_size(1000, 1100)
        page.until(lambda _: abs(page.scale() - 2) < 1e-6, "the canvas at scale 2")
        against_hard(page, frames, moves)
        page.key(hold=0.04)
        page.wait(frames.menu(difficulty="hard", depth=7), "the menu after the game")
        page.key(hold=0.3)
        text = page.until(lambda _: driver.execute_script(
            "return !document.getElementById('again').hidden &&"
            " document.getElementById('message').textContent;"), "the page's ending text")
        assert text == "The game has ended.", text
        print("ok: ESC on the menu ended the game; the page says %r and offers to play again"
              % text)
    finally:
        if driver is not None:
            driver.quit()
        server.stop()


if __name__ == "__main__":
    main()
