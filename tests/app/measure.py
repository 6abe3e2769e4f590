#!/usr/bin/python3
"""Measures the built program in Xvfb (not part of the test run):

  measure.py PROGRAM [SECONDS]

on classic SDL 1.2, on the compatibility library over SDL 2, and there again
with a player's own SDL_FRAMEBUFFER_ACCELERATION=1 (OpenGL as SDL 2 would):

- start to first menu frame: from launching the program to its first SDL_Flip
  (a tiny preloaded library notes the moment of that call), over five starts;
- threads, and whether the OpenGL stack (libGL) is loaded, on the menu;
- idle CPU: the share of one core the menu, and then a two-player game, use
  while nobody touches them, over SECONDS each (default 10), with the X
  server's share beside it;
- peak memory: the program's resident high-water mark after that game.
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x_session import AWAY, XServer, centre, cpu_seconds, preload  # noqa: E402


def idle(proc, x, seconds, what):
    before, server, start = cpu_seconds(proc.pid), cpu_seconds(x.proc.pid), time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    share = (cpu_seconds(proc.pid) - before) / elapsed
    server = (cpu_seconds(x.proc.pid) - server) / elapsed
    print("  %s: %.1f%% of one core over %.0f s (X server %.1f%%)"
          % (what, 100 * share, seconds, 100 * server))


def status_field(pid, name):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(name + ":"):
                return line.split()[1]
    return "?"


def libraries():
    """(name, extra environment) of each way to run the program."""
    found = subprocess.run(["dpkg", "-L", "libsdl1.2-compat"], capture_output=True, text=True)
    compat = [path for path in found.stdout.split() if path.endswith("/libSDL-1.2.so.0")]
    ways = [("classic SDL 1.2", {})]
    if compat:
        where = {"LD_LIBRARY_PATH": os.path.dirname(compat[0])}
        ways.append(("compatibility library", where))
        ways.append(("compatibility library, SDL_FRAMEBUFFER_ACCELERATION=1",
                     dict(where, SDL_FRAMEBUFFER_ACCELERATION="1")))
    return ways


def measure(program, seconds, work, shim, extra):
    x = XServer("1024x768")
    try:
        times = []
        for _ in range(5):
            mark = os.path.join(work, "flip")
            if os.path.exists(mark):
                os.remove(mark)
            env = dict(x.env, LD_PRELOAD=shim, FIRST_FLIP_FILE=mark, **extra)
            start = time.monotonic()  # CLOCK_MONOTONIC, as in the shim
            proc = subprocess.Popen([program], cwd=work, env=env)
            while not os.path.exists(mark) or os.path.getsize(mark) == 0:
                time.sleep(0.005)
            with open(mark) as f:
                times.append(float(f.read()) - start)
            window = x.find_window("vantrixo")
            x.move(window, AWAY)
            x.key("Escape")
            proc.wait(10)
        times.sort()
        print("  start to first menu frame: median %.0f ms (min %.0f, max %.0f, 5 starts)"
              % (1000 * times[2], 1000 * times[0], 1000 * times[-1]))

        proc = subprocess.Popen([program], cwd=work, env=dict(x.env, **extra))
        window = x.find_window("vantrixo")
        x.move(window, AWAY)
        time.sleep(1)
        with open("/proc/%d/maps" % proc.pid) as f:
            opengl = "/libGL" in f.read()
        print("  on the menu: %s thread(s), peak memory %s kB, OpenGL %s"
              % (status_field(proc.pid, "Threads"), status_field(proc.pid, "VmHWM"),
                 "loaded" if opengl else "not loaded"))
        idle(proc, x, seconds, "idle menu")
        x.click(window, *centre(1))  # two players
        x.move(window, AWAY)
        time.sleep(1)
        idle(proc, x, seconds, "idle two-player game")
        print("  peak memory: %s kB" % status_field(proc.pid, "VmHWM"))
        x.key("Escape")
        time.sleep(0.5)
        x.key("Escape")
        proc.wait(10)
    finally:
        x.stop()


def main():
    program = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    work = tempfile.mkdtemp(prefix="vantrixo-measure-")
    shim = preload("first_flip")
    for name, extra in libraries():
        print(name + ":")
        measure(program, seconds, work, shim, extra)


if __name__ == "__main__":
    main()
