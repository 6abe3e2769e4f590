#!/usr/bin/python3
"""Measures the built program in Xvfb (not part of the test run):

  measure.py PROGRAM [SECONDS]

- start to first menu frame: from launching the program to its first SDL_Flip
  (a tiny preloaded library notes the moment of that call), over five starts;
- idle CPU: the share of one core a two-player game uses while nobody moves,
  over SECONDS (default 10).
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x_session import XServer, cpu_seconds  # noqa: E402

SHIM = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
typedef struct SDL_Surface SDL_Surface;
int SDL_Flip(SDL_Surface* screen) {
    static int (*real)(SDL_Surface*);
    static int done;
    if (!real) real = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    int result = real(screen);
    if (!done) {
        struct timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        FILE* f = fopen(getenv("FIRST_FLIP_FILE"), "w");
        if (f) { fprintf(f, "%ld.%09ld\n", (long)t.tv_sec, t.tv_nsec); fclose(f); }
        done = 1;
    }
    return result;
}
"""


def main():
    program = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    work = tempfile.mkdtemp(prefix="vantrixo-measure-")
    source = os.path.join(work, "shim.c")
    shim = os.path.join(work, "shim.so")
    with open(source, "w") as f:
        f.write(SHIM)
    subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", shim, source, "-ldl"], check=True)

    x = XServer()
    try:
        times = []
        for _ in range(5):
            mark = os.path.join(work, "flip")
            if os.path.exists(mark):
                os.remove(mark)
            env = dict(x.env, LD_PRELOAD=shim, FIRST_FLIP_FILE=mark)
            start = time.monotonic()  # CLOCK_MONOTONIC, as in the shim
            proc = subprocess.Popen([program], cwd=work, env=env)
            while not os.path.exists(mark) or os.path.getsize(mark) == 0:
                time.sleep(0.005)
            with open(mark) as f:
                times.append(float(f.read()) - start)
            window = x.find_window("vantrixo")
            x.xdotool("mousemove", "--window", window, 20, 200)
            x.key("Escape")
            proc.wait(10)
        times.sort()
        print("start to first menu frame: median %.0f ms (min %.0f, max %.0f, 5 starts)"
              % (1000 * times[2], 1000 * times[0], 1000 * times[-1]))

        proc = subprocess.Popen([program], cwd=work, env=x.env)
        window = x.find_window("vantrixo")
        time.sleep(0.5)
        x.click(window, 200, 160)  # two players
        x.xdotool("mousemove", "--window", window, 20, 200)
        time.sleep(1)
        before, start = cpu_seconds(proc.pid), time.monotonic()
        time.sleep(seconds)
        share = (cpu_seconds(proc.pid) - before) / (time.monotonic() - start)
        print("idle two-player game: %.1f%% of one core over %.0f s" % (100 * share, seconds))
        x.key("Escape")
        time.sleep(0.5)
        x.key("Escape")
        proc.wait(10)
    finally:
        x.stop()


if __name__ == "__main__":
    main()
