#!/usr/bin/python3
"""Measures the page that `make web` built, in headless Chromium (not part of
the test run):

  measure.py WEB_DIR GAMES DATA [SECONDS]

- first menu frame: from the start of navigation to the first animation frame
  in which the canvas holds the whole menu, over five loads from a local server;
- download: the page's four files, as served and gzipped (gzip -9);
- the computer's replies at hard, depth 7 over the ten games of
  vantrixo_games, in the browser (its WebAssembly build) and on the desktop
  (GAMES, the native build): median, p99 and slowest;
- idle: the processor time per second of the browser's processes (all of
  them) and of the page's main thread, on the menu and in a two-player game
  nobody touches, over SECONDS each (default 10).
"""

import gzip
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                os.pardir, os.pardir, "tests", "web"))
from browser import Frames, Page, Server, centre, chromium  # noqa: E402

FILES = ("index.html", "vantrixo.js", "vantrixo.wasm", "vantrixo.data")
# Notes when the canvas first holds the frame whose pixels sum to
# window.expectedSum (set before navigation), checked on every animation frame.
FIRST_FRAME = """
window.firstMenu = null;
(function look() {
  var canvas = document.getElementById('canvas');
  if (canvas && window.expectedSum !== undefined) {
    var data = canvas.getContext('2d').getImageData(0, 0, 400, 400).data, sum = 0;
    for (var i = 0; i < data.length; i += 4) sum += data[i] * 3 + data[i + 1] * 5 + data[i + 2] * 7;
    if (sum === window.expectedSum) { window.firstMenu = performance.now(); return; }
  }
  requestAnimationFrame(look);
})();
"""


def summary(values):
    values = sorted(values)
    p99 = values[min(len(values) - 1, int(0.99 * len(values)))]
    return "median %.2f, p99 %.2f, slowest %.2f ms over %d replies" % (
        statistics.median(values), p99, values[-1], len(values))


def replies(lines):
    return [(line.split()[:3], float(line.split()[3])) for line in lines
            if line.startswith("green ")]


def cpu(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total / os.sysconf("SC_CLK_TCK")


def tree(root):
    """root and every process below it."""
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        for task in os.listdir("/proc/%d/task" % pid) if os.path.exists("/proc/%d" % pid) else []:
            try:
                with open("/proc/%d/task/%s/children" % (pid, task)) as f:
                    todo += [int(c) for c in f.read().split()]
            except OSError:
                pass
    return found


def idle(driver, seconds, what):
    pids = tree(driver.service.process.pid)
    driver.execute_cdp_cmd("Performance.enable", {})

    def task():
        metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
        return next(m["value"] for m in metrics if m["name"] == "TaskDuration")

    time.sleep(1)
    before, main, start = cpu(pids), task(), time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    print("  %s: browser %.1f%% of one core, the page's main thread %.1f%% (over %.0f s)"
          % (what, 100 * (cpu(pids) - before) / elapsed, 100 * (task() - main) / elapsed, seconds))


def main():
    web, games, data = sys.argv[1:4]
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 10
    frames = Frames(data)
    menu = frames.menu()
    expected = sum(r * 3 + g * 5 + b * 7 for r, g, b in menu.getdata())

    sizes = [os.path.getsize(os.path.join(web, f)) for f in FILES]
    packed = [len(gzip.compress(open(os.path.join(web, f), "rb").read(), 9)) for f in FILES]
    print("download: %d KB (%s); gzipped %d KB" % (
        sum(sizes) // 1024, ", ".join("%s %d" % (f, s // 1024) for f, s in zip(FILES, sizes)),
        sum(packed) // 1024))

    server = Server(web)
    driver = chromium(640, 800)
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                               {"source": "window.expectedSum = %d;" % expected + FIRST_FRAME})
        loads = []
        for _ in range(5):
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            driver.get(server.url + "?%d" % time.monotonic_ns())
            deadline = time.monotonic() + 10
            while driver.execute_script("return window.firstMenu;") is None:
                assert time.monotonic() < deadline, "no menu frame within 10 s"
                time.sleep(0.02)
            loads.append(driver.execute_script("return window.firstMenu;"))
        print("first menu frame after navigation: median %.0f ms, worst %.0f ms (%s)"
              % (statistics.median(loads), max(loads), ", ".join("%.0f" % t for t in loads)))

        print("idle (processor time per second):")
        idle(driver, seconds, "the menu")
        Page(driver, frames).click(centre(1))
        time.sleep(1)
        idle(driver, seconds, "a two-player game")

        driver.get(server.url + "games.html")
        deadline = time.monotonic() + 120
        while not driver.execute_script("return window.gamesDone === true;"):
            assert time.monotonic() < deadline, "the games did not end within 120 s"
            time.sleep(0.2)
        browser = replies(driver.execute_script("return lines;"))
    finally:
        driver.quit()
        server.stop()

    games = os.path.abspath(games)
    desktop = replies(subprocess.run([games, "10"], check=True, capture_output=True,
                                     text=True, cwd=os.path.dirname(games),
                                     timeout=120).stdout.split("\n"))
    assert [m for m, _ in browser] == [m for m, _ in desktop], "the browser chose other moves"
    print("hard, depth 7, the same %d replies in ten games:" % len(desktop))
    print("  browser: " + summary([t for _, t in browser]))
    print("  desktop: " + summary([t for _, t in desktop]))


if __name__ == "__main__":
    main()
