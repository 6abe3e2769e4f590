#!/usr/bin/python3
"""End-to-end runs of the built program.

  e2e.py play PROGRAM DATA      menu, a two-player opening move, ESC, ESC
  e2e.py symlink PROGRAM DATA   started by name through PATH, a link elsewhere
  e2e.py novideo PROGRAM DATA   no usable video driver; no display at all
  e2e.py sigterm PROGRAM DATA   started from a deleted directory; SIGTERM on
                                the menu ends the program
  e2e.py close PROGRAM DATA     the window's close button, on the menu and in
                                a game
  e2e.py lost PROGRAM DATA      the X server ends on the menu, in a game,
                                during the computer's search, and many times
                                within the program's first 0.3 s
  e2e.py expose PROGRAM DATA    the window unmapped and mapped again, there too
  e2e.py scaled PROGRAM DATA    SDL12COMPAT_WINDOW_SCALING=2: an 800x800 window
                                on the compatibility library, clicks still on target
  e2e.py silent PROGRAM DATA    a display that never answers: SIGINT or SIGTERM
                                during the start still ends the program
  e2e.py memory PROGRAM DATA    peak memory on the menu and in a depth-7 game,
                                one thread and no OpenGL; OpenGL when asked for

With VANTRIXO_SHOTS set to a directory the screenshots of the run are kept there.
"""

import contextlib
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x_session import (AWAY, LAYOUT, Frames, SearchHold, XServer, cell_centre,  # noqa: E402
                       centre, cpu_seconds, identical, mismatch)

OPENING_RED = {(3, 4), (4, 3)}
OPENING_GREEN = {(3, 3), (4, 4)}
AFTER_RED = {(3, 4), (4, 3), (4, 4), (5, 4)}  # red's move on (5, 4)
LOST = b"vantrixo: lost the connection to the display\n"


def wait_for(x, proc, window, expected, what, shots, name, timeout=10, again=None):
    """Until the window shows `expected`. `again` repeats the input that leads
    there when nothing has come of it after a few seconds: a press can be
    missed when a loaded machine runs the program only after it is over."""
    deadline = time.monotonic() + timeout
    retry = time.monotonic() + 3
    best = 1.0
    while True:
        if proc.poll() is not None:
            raise AssertionError("%s not shown: the program ended with status %d"
                                 % (what, proc.returncode))
        shot = x.screenshot(window)
        best = min(best, mismatch(shot, expected))
        # A single disc or the highlight covers over 1000 pixels; allow only
        # blending noise.
        if best * 160000 <= 100:
            if shots:
                shot.save(os.path.join(shots, name + ".png"))
            print("ok: %s (%.2f%% of pixels off)" % (what, 100 * best))
            return
        if time.monotonic() > deadline:
            shot.save(os.path.join(tempfile.gettempdir(), "vantrixo-e2e-" + name + ".png"))
            expected.save(os.path.join(tempfile.gettempdir(), "vantrixo-e2e-" + name + "-expected.png"))
            raise AssertionError("%s not shown: %.1f%% of pixels differ" % (what, 100 * best))
        if again is not None and time.monotonic() > retry:
            print("again: the input towards %s" % what)
            again()
            retry = time.monotonic() + 3
        time.sleep(0.1)


def idle_share(proc, seconds=2):
    """The share of one core the program uses while nobody touches it."""
    time.sleep(0.5)
    before, start = cpu_seconds(proc.pid), time.monotonic()
    time.sleep(seconds)
    return (cpu_seconds(proc.pid) - before) / (time.monotonic() - start)


def state(pid):
    """The state letter of the program's main thread (Z once it has ended)."""
    with open("/proc/%d/stat" % pid) as f:
        return f.read().rsplit(")", 1)[1].split()[0]


def wait_exit(proc, timeout=10):
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        raise AssertionError("the program did not end")


def clean_up(proc, x, elsewhere):
    """Kills a program left running, stops the X server, removes the scratch directory."""
    if proc is not None and proc.poll() is None:
        proc.kill()
        proc.wait()
    x.stop()
    shutil.rmtree(elsewhere, ignore_errors=True)


def run_play(program, frames, shots, through_link, terminate=False):
    x = XServer()
    elsewhere = tempfile.mkdtemp(prefix="vantrixo-e2e-")
    proc = None
    try:
        command, env = program, x.env
        if through_link:
            # By its name, as the desktop entry starts it.
            os.mkdir(os.path.join(elsewhere, "bin"))
            os.symlink(program, os.path.join(elsewhere, "bin", "vantrixo"))
            command = "vantrixo"
            env = dict(x.env, PATH=os.path.join(elsewhere, "bin") + os.pathsep + x.env["PATH"])
        # Started from a directory without data/: the program must find its own.
        # The SIGTERM run starts from one deleted in the meantime, which is no
        # reason not to start.
        proc = subprocess.Popen([command, "an", "ignored", "argument"], cwd=elsewhere, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                preexec_fn=(lambda: os.rmdir(elsewhere)) if terminate else None)
        try:
            window = x.find_window("vantrixo")
        except AssertionError:
            proc.kill()
            out, err = proc.communicate()
            print("program output:", out[:300], err[:300], "status", proc.returncode)
            raise
        x.move(window, AWAY)
        wait_for(x, proc, window, frames.menu(), "the menu", shots, "menu")
        if terminate:
            proc.terminate()
            assert wait_exit(proc) == -15, "SIGTERM must end the program"
            assert proc.communicate() == (b"", b"")
            print("ok: started from a deleted directory; SIGTERM ended the program")
            return
        if through_link:
            x.key("Escape")
            assert wait_exit(proc) == 1
            print("ok: started by name through a link elsewhere, ended with status 1")
            # Waiting for a frame of a program that has ended fails at once.
            start = time.monotonic()
            try:
                wait_for(x, proc, window, frames.menu(), "the menu", None, "ended")
            except AssertionError as failure:
                assert "status 1" in str(failure) and time.monotonic() - start < 2, failure
            else:
                raise AssertionError("a frame of an ended program was found")
            return

        menu_share = idle_share(proc)

        def two_players():
            x.click(window, *centre(1))
            x.move(window, AWAY)

        two_players()
        wait_for(x, proc, window, frames.game(OPENING_RED, OPENING_GREEN, "redturn"),
                 "the opening position", shots, "game-start", again=two_players)

        # Idle while a person thinks: nothing changes, so nothing is drawn.
        # Redrawing every paced frame costs some 7% of a core, twenty times
        # the menu's polls; compared with those, a busy machine that slows
        # both does not make the game look busy.
        share = idle_share(proc)
        print("idle: the game %.2f%%, the menu %.2f%% of one core"
              % (100 * share, 100 * menu_share))
        assert share < max(0.03, 4 * menu_share), "the idle game is busy"

        x.move(window, cell_centre((5, 4)))
        wait_for(x, proc, window,
                 frames.game(OPENING_RED, OPENING_GREEN, "redturn", highlight=(5, 4)),
                 "the highlight on a legal cell", shots, "game-highlight")

        def red_move():
            x.click(window, *cell_centre((5, 4)))
            x.move(window, AWAY)

        red_move()
        wait_for(x, proc, window, frames.game(AFTER_RED, {(3, 3)}, "greenturn"),
                 "red's move and the new counts", shots, "game-after-move", again=red_move)

        # A short press leaves the game; the menu comes 150 ms later and
        # would end the program on an ESC still down. Short enough to be
        # over by then on a loaded machine too, and pressed again if missed.
        x.key("Escape", hold=0.04)
        wait_for(x, proc, window, frames.menu(), "the menu again", shots, "menu-again",
                 again=lambda: x.key("Escape", hold=0.04))
        time.sleep(0.3)
        assert proc.poll() is None, "a short ESC must only leave the game"
        x.key("Escape")
        assert wait_exit(proc) == 1
        out, err = proc.communicate()
        assert out == b"" and err == b"", (out, err)
        print("ok: ESC on the menu ended the program with status 1")
    finally:
        clean_up(proc, x, elsewhere)


def run_close(program, frames, shots):
    x = XServer()
    elsewhere = tempfile.mkdtemp(prefix="vantrixo-e2e-")
    proc = None
    try:
        for in_game in (False, True):
            proc = subprocess.Popen([program], cwd=elsewhere, env=x.env,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            window = x.find_window("vantrixo")
            x.move(window, AWAY)
            wait_for(x, proc, window, frames.menu(), "the menu", shots, "close-menu")
            if in_game:
                x.click(window, *centre(1))  # two players
                x.move(window, AWAY)
                wait_for(x, proc, window, frames.game(OPENING_RED, OPENING_GREEN, "redturn"),
                         "the opening position", shots, "close-game")
                # More key events than SDL's queue holds, read in one go with
                # the close request: none may crowd it out.
                proc.send_signal(signal.SIGSTOP)
                x.xdotool("key", "--delay", 1, *"abcdefghijklmnopqrstuvwxyz" * 4)
            x.close(window)
            proc.send_signal(signal.SIGCONT)
            assert wait_exit(proc) == 1, "a close request must end the program with status 1"
            assert proc.communicate() == (b"", b"")
            print("ok: the close button ended the program %s, status 1"
                  % ("from a game" if in_game else "on the menu"))
    finally:
        clean_up(proc, x, elsewhere)


def red_moves(red, green):
    """Red's legal moves, column by column."""
    moves = []
    for cell in ((x, y) for x in range(8) for y in range(8)):
        if cell in red or cell in green:
            continue
        for dx, dy in ((1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1)):
            x, y, between = cell[0] + dx, cell[1] + dy, 0
            while (x, y) in green:
                x, y, between = x + dx, y + dy, between + 1
            if between and (x, y) in red:
                moves.append(cell)
                break
    return moves


def start_computer_game(x, proc, window, frames, shots, name):
    """From the menu: depth 7, and red against the computer."""
    x.click(window, *centre(LAYOUT["DEPTH_UP"]))
    x.move(window, AWAY)
    wait_for(x, proc, window, frames.menu(depth=7), "depth 7 in the menu", shots, name + "-menu")
    x.click(window, *centre(2))  # play red against the computer
    x.move(window, AWAY)
    wait_for(x, proc, window, frames.game(OPENING_RED, OPENING_GREEN, "redturn"),
             "the opening position", shots, name + "-opening")


def hold_in_search(x, proc, window, frames, hold):
    """Red plays its first legal move whenever it is to move, until the program
    stops at a poll of the computer's search (the second or a later poll of one
    search: however fast the search, one of some size comes)."""
    before, clicked, deadline = None, 0, time.monotonic() + 60
    while not hold.wait(0.1, must=False):
        assert time.monotonic() < deadline and proc.poll() is None, "no search polled twice"
        shot = x.screenshot(window)
        red, green = frames.discs(shot)
        # Red to move: a new position, or the same one 3 s after a missed click.
        if (((red, green) != before or time.monotonic() > clicked + 3)
                and mismatch(shot, frames.game(red, green, "redturn")) * 160000 <= 100):
            before, clicked = (red, green), time.monotonic()
            x.click(window, *cell_centre(red_moves(red, green)[0]))
            x.move(window, AWAY)
    shot = x.screenshot(window)
    red, green = frames.discs(shot)
    assert mismatch(shot, frames.game(red, green, "greenturn")) * 160000 <= 100
    return shot


@contextlib.contextmanager
def started(program, hold=None, screen="640x480", env=()):
    """The program in an X server of its own, started from a scratch directory;
    afterwards everything is ended and removed."""
    x = XServer(screen)
    elsewhere = tempfile.mkdtemp(prefix="vantrixo-e2e-")
    proc = None
    try:
        proc = subprocess.Popen([program], cwd=elsewhere,
                                env=dict(x.env, **(hold.env if hold else {}), **dict(env)),
                                pass_fds=hold.fds if hold else (),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if hold:
            hold.started()
        yield x, proc, x.find_window("vantrixo")
    finally:
        if hold:
            hold.end()
        clean_up(proc, x, elsewhere)


def to(where, x, proc, window, frames, shots, name, hold=None):
    """From the start to the menu, a two-player game (the pointer on a legal
    cell) or a held depth-7 search; returns the frame on screen."""
    x.move(window, AWAY)
    wait_for(x, proc, window, frames.menu(), "the menu", shots, name + "-menu")
    if where == "in a game":
        x.click(window, *centre(1))  # two players
        x.move(window, cell_centre((5, 4)))
        wait_for(x, proc, window,
                 frames.game(OPENING_RED, OPENING_GREEN, "redturn", highlight=(5, 4)),
                 "the opening position", shots, name + "-game")
    elif hold:
        start_computer_game(x, proc, window, frames, shots, name)
        return hold_in_search(x, proc, window, frames, hold)
    return x.screenshot(window)


PLACES = ("on the menu", "in a game", "during a depth-7 search")


def run_lost(program, frames, shots):
    """The X server ends on the menu, in a game, and in the computer's search."""
    for where in PLACES:
        hold = SearchHold() if where == PLACES[2] else None
        with started(program, hold) as (x, proc, window):
            to(where, x, proc, window, frames, shots, "lost", hold)
            x.stop()
            gone = time.monotonic()
            if hold:
                hold.end()  # the search polls on and finds the display gone
            # Ended: a loaded machine may take a while longer to hand back its
            # memory (a thread of the SDL 2 library's GL stack may still be at
            # that in the kernel), which is no work of the program's.
            while proc.poll() is None and state(proc.pid) != "Z":
                assert time.monotonic() - gone < 2, \
                    "the program still runs 2 s after the display went %s" % where
                time.sleep(0.01)
            ended = time.monotonic() - gone
            status = proc.wait(10)
            assert (status, proc.communicate()) == (1, (b"", LOST)), (status, proc.communicate())
            print("ok: the display went %s; the program ended %.0f ms later, status 1"
                  % (where, 1000 * ended))


def run_lost_at_start(program, runs=16):
    """The X server ends 0 to 0.3 s after the program starts, while SDL opens
    the display and the window: every run ends within 2 s with status 1, with
    the program's own line (or, when the display had gone before SDL looked,
    the one for a display that cannot be opened)."""
    slowest = 0
    for run in range(runs):
        x = XServer()
        proc = None
        try:
            proc = subprocess.Popen([program], cwd="/", env=x.env,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            time.sleep(0.3 * run / (runs - 1))
            x.stop()
            gone = time.monotonic()
            try:
                out, err = proc.communicate(timeout=2)
            except subprocess.TimeoutExpired:
                raise AssertionError("run %d: the program still runs 2 s after the display went"
                                     " (%.1f%% of a core)" % (run, 100 * idle_share(proc, 1)))
            slowest = max(slowest, time.monotonic() - gone)
            unopened = (b"Argh! Can't init SDL!\n",
                        b"no graphical display at DISPLAY=%s: " % x.display.encode())
            assert proc.returncode == 1 and ((out, err) == (b"", LOST) or (
                out == unopened[0] and err.startswith(unopened[1]) and err.count(b"\n") == 1)), \
                ("run %d" % run, proc.returncode, out, err)
        finally:
            if proc is not None and proc.poll() is None:
                proc.kill()
                proc.wait()
            x.stop()
    print("ok: the display went in the first 0.3 s, %d times; the program always ended with"
          " status 1, at most %.0f ms later" % (runs, 1000 * slowest))


def shown_again(x, window, before, hold, where):
    """Unmaps and maps the window: True once it shows `before` again, which
    must be within 0.5 s; False if a held search ends first."""
    x.xdotool("windowunmap", "--sync", window, "windowmap", "--sync", window)
    mapped = time.monotonic()
    while True:
        # The held poll pumps the events, and the program stops at the next.
        if hold and not hold.step():
            return False
        shot = x.screenshot(window)
        if identical(shot, before):
            print("ok: shown again %s, the same frame %.0f ms after it was mapped"
                  % (where, 1000 * (time.monotonic() - mapped)))
            return True
        if time.monotonic() - mapped > 0.5:
            shot.save(os.path.join(tempfile.gettempdir(), "vantrixo-e2e-exposed.png"))
            raise AssertionError("%.1f%% of the pixels differ 0.5 s after the window was shown"
                                 " again %s" % (100 * mismatch(shot, before), where))


def run_expose(program, frames, shots):
    """The window unmapped and mapped again, as by minimising and restoring it,
    on the menu, in a game, and while the computer thinks: within 0.5 s it shows
    the frame it showed before, pixel for pixel."""
    for where in PLACES:
        hold = SearchHold() if where == PLACES[2] else None
        with started(program, hold) as (x, proc, window):
            before = to(where, x, proc, window, frames, shots, "expose", hold)
            # A held search may end before it polls again: then the next one.
            for _ in range(10):
                if shown_again(x, window, before, hold, where):
                    break
                before = hold_in_search(x, proc, window, frames, hold)
            else:
                raise AssertionError("the computer's searches all ended too soon")


def run_scaled(program, frames, shots):
    """SDL12COMPAT_WINDOW_SCALING=2: on the compatibility library the window is
    800x800, the game's frames drawn twice as large, and clicks land where they
    show; classic SDL ignores the variable and keeps 400x400."""
    with started(program, screen="1024x1024", env={"SDL12COMPAT_WINDOW_SCALING": "2",
                                                   "SDL12COMPAT_SCALE_METHOD": "nearest"}) \
            as (x, proc, window):
        with open("/proc/%d/maps" % proc.pid) as f:
            k = 2 if "sdl12-compat" in f.read() else 1
        size = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=x.env,
                              capture_output=True, text=True, check=True).stdout
        assert "WIDTH=%d\nHEIGHT=%d" % (400 * k, 400 * k) in size, size

        def at(point):
            return tuple(k * c for c in point)

        def big(frame):
            return frame.resize((400 * k, 400 * k), Image.NEAREST)

        x.move(window, at(AWAY))
        wait_for(x, proc, window, big(frames.menu()), "the menu", shots, "scaled-menu")
        x.click(window, *at(centre(LAYOUT["DEPTH_UP"])))
        x.move(window, at(AWAY))
        wait_for(x, proc, window, big(frames.menu(depth=7)), "depth 7", shots, "scaled-depth")
        x.click(window, *at(centre(1)))  # two players
        x.move(window, at(cell_centre((5, 4))))
        wait_for(x, proc, window,
                 big(frames.game(OPENING_RED, OPENING_GREEN, "redturn", highlight=(5, 4))),
                 "the highlight on the cell at the pointer", shots, "scaled-highlight")
        x.click(window, *at(cell_centre((5, 4))))
        x.move(window, at(AWAY))
        wait_for(x, proc, window, big(frames.game(AFTER_RED, {(3, 3)}, "greenturn")),
                 "red's move on that cell", shots, "scaled-move")
        print("ok: a %dx%d window, and clicks land where they show" % (400 * k, 400 * k))


def status_field(pid, name):
    with open("/proc/%d/status" % pid) as f:
        return next(line.split()[1] for line in f if line.startswith(name + ":"))


def uses_opengl(pid):
    with open("/proc/%d/maps" % pid) as f:
        return "/libGL" in f.read()


def run_memory(program, frames, shots):
    """What the program costs: under 32 MB at its peak on the menu and after
    three moves of a depth-7 game, on one thread and without the OpenGL stack
    on either library. A player's own SDL_FRAMEBUFFER_ACCELERATION=1 brings
    OpenGL back on the compatibility library, as it asks."""
    with started(program) as (x, proc, window):
        x.move(window, AWAY)
        wait_for(x, proc, window, frames.menu(), "the menu", shots, "memory-menu")
        compat = "sdl12-compat" in open("/proc/%d/maps" % proc.pid).read()
        menu = (int(status_field(proc.pid, "VmHWM")), status_field(proc.pid, "Threads"))
        assert menu[0] < 32 * 1024 and menu[1] == "1" and not uses_opengl(proc.pid), menu
        start_computer_game(x, proc, window, frames, shots, "memory")
        # Red plays its first legal move each time it is to move, again 3 s
        # after a missed click, until the computer has answered three times.
        seen, clicked, deadline = [], 0, time.monotonic() + 60
        while len(seen) < 4:
            assert time.monotonic() < deadline and proc.poll() is None, "no reply in time"
            shot = x.screenshot(window)
            red, green = frames.discs(shot)
            if mismatch(shot, frames.game(red, green, "redturn")) * 160000 > 100:
                continue
            if (red, green) not in seen:
                seen.append((red, green))
            elif time.monotonic() < clicked + 3:
                continue
            if len(seen) < 4:
                clicked = time.monotonic()
                x.click(window, *cell_centre(red_moves(red, green)[0]))
                x.move(window, AWAY)
        game = int(status_field(proc.pid, "VmHWM"))
        assert game < 32 * 1024 and not uses_opengl(proc.pid), game
    print("ok: peak memory %.1f MB on the menu (one thread), %.1f MB after three depth-7"
          " replies; no OpenGL" % (menu[0] / 1024, game / 1024))
    with started(program, env={"SDL_FRAMEBUFFER_ACCELERATION": "1"}) as (x, proc, window):
        x.move(window, AWAY)
        wait_for(x, proc, window, frames.menu(), "the menu", shots, "memory-opengl")
        assert uses_opengl(proc.pid) == compat
    print("ok: with SDL_FRAMEBUFFER_ACCELERATION=1 OpenGL is %s" % (
        "loaded, as asked" if compat else "not there on classic SDL"))


def run_novideo(program):
    elsewhere = tempfile.mkdtemp(prefix="vantrixo-e2e-")
    try:
        env = dict(os.environ, SDL_VIDEODRIVER="no-such-driver")
        done = subprocess.run([program], cwd=elsewhere, env=env, capture_output=True, timeout=20)
        assert done.stdout == b"Argh! Can't init SDL!\n", done.stdout
        assert done.returncode == 1, done.returncode
        print("ok: no video driver: the message and status 1")

        # A display named but not there: the same, with which one and why.
        taken = open("/proc/net/unix").read()
        free = next(n for n in range(59, 1000) if "/tmp/.X11-unix/X%d\n" % n not in taken)
        env = dict(os.environ, DISPLAY=":%d" % free)
        env.pop("SDL_VIDEODRIVER", None)
        done = subprocess.run([program], cwd=elsewhere, env=env, capture_output=True, timeout=20,
                              stdin=subprocess.DEVNULL)
        assert done.stdout == b"Argh! Can't init SDL!\n", done.stdout[:200]
        reason = b"no graphical display at DISPLAY=:%d: " % free
        line = done.stderr.splitlines()[-1] if done.stderr else b""
        assert line.startswith(reason) and line[len(reason):].strip(), done.stderr
        assert done.returncode == 1, done.returncode
        print("ok: an unreachable display: the message, %r and status 1" % line.decode())

        # No display and no driver named: never a text-mode driver instead.
        if os.path.exists("/dev/fb0") or os.path.exists("/dev/dri"):
            print("skipped: a console framebuffer here counts as a graphical display")
            return
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        done = subprocess.run([program], cwd=elsewhere, env=env, capture_output=True, timeout=20,
                              stdin=subprocess.DEVNULL)
        assert done.stdout == b"Argh! Can't init SDL!\n", done.stdout[:200]
        assert done.stderr.endswith(b"no graphical display\n"), done.stderr
        assert done.returncode == 1, done.returncode
        print("ok: no display: the message, the reason and status 1")
    finally:
        shutil.rmtree(elsewhere, ignore_errors=True)


def run_silent(program):
    """A display that takes the connection and never answers, as a stopped X
    server does: the program waits in SDL_Init, and SIGINT (Ctrl-C) or SIGTERM
    0.5 s later ends it by that signal within 1 s."""
    # A display number nobody has, its lock file taken as an X server takes it
    # so that no Xvfb of a parallel run chooses it meanwhile (nor the novideo
    # run, which looks from 59 up).
    listening = open("/proc/net/unix").read()
    for n in range(400, 1000):
        try:
            lock = os.open("/tmp/.X%d-lock" % n, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o444)
        except FileExistsError:
            continue
        os.write(lock, b"%10d\n" % os.getpid())
        os.close(lock)
        if "/tmp/.X11-unix/X%d\n" % n not in listening:
            break
        os.unlink("/tmp/.X%d-lock" % n)
    # Xlib tries the abstract socket first, as X servers on Linux offer it.
    listener = socket.socket(socket.AF_UNIX)
    proc = None
    try:
        listener.bind("\0/tmp/.X11-unix/X%d" % n)
        listener.listen(4)  # connections complete in the backlog, unread
        env = dict(os.environ, DISPLAY=":%d" % n)
        env.pop("SDL_VIDEODRIVER", None)
        for sig in (signal.SIGINT, signal.SIGTERM):
            proc = subprocess.Popen([program], cwd="/", env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            time.sleep(0.5)
            assert proc.poll() is None, ("the start did not wait", proc.communicate())
            proc.send_signal(sig)
            try:
                out, err = proc.communicate(timeout=1)
            except subprocess.TimeoutExpired:
                raise AssertionError("the program still runs 1 s after %s" % sig.name)
            assert (proc.returncode, out, err) == (-sig, b"", b""), (proc.returncode, out, err)
            print("ok: %s ended a program waiting for a silent display" % sig.name)
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
            proc.wait()
        listener.close()
        os.unlink("/tmp/.X%d-lock" % n)


def main():
    mode, program, data = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    shots = os.environ.get("VANTRIXO_SHOTS")
    if shots:
        os.makedirs(shots, exist_ok=True)
    if mode == "novideo":
        run_novideo(program)
    elif mode == "silent":
        run_silent(program)
    elif mode == "close":
        run_close(program, Frames(data), shots)
    elif mode == "scaled":
        run_scaled(program, Frames(data), shots)
    elif mode == "expose":
        run_expose(program, Frames(data), shots)
    elif mode == "lost":
        run_lost(program, Frames(data), shots)
        run_lost_at_start(program)
    elif mode == "memory":
        run_memory(program, Frames(data), shots)
    else:
        run_play(program, Frames(data), shots, through_link=(mode == "symlink"),
                 terminate=(mode == "sigterm"))


if __name__ == "__main__":
    main()
