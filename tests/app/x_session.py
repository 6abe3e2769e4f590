"""A private Xvfb server and the helpers the end-to-end scripts drive the game
with: xdotool for the pointer and keys, python3-xlib for close requests,
ImageMagick's import for screenshots, and the expected frames composed from
the pictures in data/."""

import io
import os
import select
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops
from Xlib import X, display, protocol

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir, os.pardir, "support"))
from screen_layout import read_layout  # noqa: E402

# Every position comes from the header the game is built with.
LAYOUT = read_layout()
# Left of the board, beside no menu item: where the pointer rests.
AWAY = (LAYOUT["CELL_PITCH"] // 2, LAYOUT["WINDOW_SIZE"] // 2)


class XServer:
    def __init__(self, screen="640x480"):
        # -noreset: without it the server restarts whenever its last client
        # leaves (the readiness probe below), refusing connections meanwhile.
        # -displayfd lets the server pick a free display, so parallel runs
        # never collide.
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen + "x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        # The program chooses its driver as it does for a user who names none.
        self.env.pop("SDL_VIDEODRIVER", None)
        deadline = time.monotonic() + 10
        while subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL).returncode != 0:
            if time.monotonic() > deadline:
                raise RuntimeError("Xvfb does not answer")
            time.sleep(0.05)

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *[str(a) for a in args]], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def find_window(self, title, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--name", "^%s$" % title],
                                   env=self.env, capture_output=True, text=True)
            ids = found.stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.05)
        raise AssertionError("no window titled %r" % title)

    def screenshot(self, window):
        # import waits for ever on a window that has gone away.
        shot = subprocess.run(["import", "-window", window, "png:-"], env=self.env,
                              capture_output=True, check=True, timeout=10)
        return Image.open(io.BytesIO(shot.stdout)).convert("RGB")

    # The game polls the key and button state, so each press is held long
    # enough for a poll to see it; press and release go out in one xdotool
    # run so that a busy machine cannot stretch the hold.
    def click(self, window, x, y, hold=0.15):
        self.xdotool("mousemove", "--window", window, x, y, "sleep", 0.05,
                     "mousedown", 1, "sleep", hold, "mouseup", 1)

    def move(self, window, point):
        self.xdotool("mousemove", "--window", window, *point)

    def key(self, name, hold=0.1):
        self.xdotool("keydown", name, "sleep", hold, "keyup", name)

    def close(self, window):
        """What a window manager sends for the window's close button."""
        d = display.Display(self.display)
        try:
            target = d.create_resource_object("window", int(window))
            message = protocol.event.ClientMessage(
                window=target, client_type=d.intern_atom("WM_PROTOCOLS"),
                data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
            target.send_event(message, event_mask=X.NoEventMask)
            d.sync()  # processed before the connection goes
        finally:
            d.close()


class Frames:
    """Frames as the program should draw them, composed from data/."""

    def __init__(self, data):
        self.data = data

    def _picture(self, name):
        path = os.path.join(self.data, name)
        return Image.open(path).convert("RGBA") if os.path.exists(path) else None

    def compose(self, layers):
        frame = Image.new("RGB", (400, 400), (0, 0, 0))
        for name, where, source in layers:
            picture = self._picture(name)
            if picture is None:
                continue
            if source is not None:
                picture = picture.crop(source)
            frame.paste(picture, where, picture)
        return frame

    def menu(self, item="none", difficulty="normal", depth=5):
        return self.compose([("menu/fundo.png", (0, 0), None),
                             ("menu/%s.png" % item, LAYOUT["MENU_ITEMS"], None),
                             ("menu/dif_%s.png" % difficulty, LAYOUT["MENU_DIFFICULTY"], None),
                             ("menu/depth%d.png" % depth, LAYOUT["MENU_DEPTH"], None)])

    def discs(self, shot):
        """The red and the green cells of a game frame."""
        centre = LAYOUT["CELL_PITCH"] // 2 - 1
        red = self._picture("bolinha/1.png").getpixel((centre, centre))[:3]
        green = self._picture("bolinha/10.png").getpixel((centre, centre))[:3]
        found = ({}, {})
        for cell in ((x, y) for x in range(8) for y in range(8)):
            place = disc_place(cell)
            pixel = shot.getpixel((place[0] + centre, place[1] + centre))
            for side, colour in zip(found, (red, green)):
                if max(abs(a - b) for a, b in zip(pixel, colour)) <= 12:
                    side[cell] = True
        return set(found[0]), set(found[1])

    def game(self, red, green, indicator, highlight=None):
        layers = [("game/tabuleiro.png", (0, 0), None)]
        for x in range(8):
            for y in range(8):
                if (x, y) in red:
                    layers.append(("bolinha/1.png", disc_place((x, y)), None))
                elif (x, y) in green:
                    layers.append(("bolinha/10.png", disc_place((x, y)), None))
        if highlight is not None:
            layers.append(("game/botaoreversiazul.png", disc_place(highlight), None))
        layers.append(("game/%s.png" % indicator, LAYOUT["INDICATOR"], None))
        layers.append(("game/esctext.png", LAYOUT["ESC_TEXT"], None))

        def digits(count, place):
            left, glyph = LAYOUT["GLYPH_LEFT"], LAYOUT["GLYPH_WIDTH"]
            return [("game/numbers.png", (place[0] + LAYOUT["DIGIT_STEP"] * i, place[1]),
                     (LAYOUT["DIGIT_SLOT"] * d + left, 0, LAYOUT["DIGIT_SLOT"] * d + left + glyph,
                      LAYOUT["GLYPH_HEIGHT"]))
                    for i, d in enumerate((count // 10, count % 10))]

        layers.append(("bolinha/10.png", LAYOUT["GREEN_DISC"], None))
        layers += digits(len(green), LAYOUT["GREEN_COUNT"])
        layers.append(("bolinha/1.png", LAYOUT["RED_DISC"], None))
        layers += digits(len(red), LAYOUT["RED_COUNT"])
        return self.compose(layers)


def disc_place(cell):
    return tuple(LAYOUT["DISC_ORIGIN"] + LAYOUT["CELL_PITCH"] * c for c in cell)


def cell_centre(cell):
    """The middle of the pixels that answer to a cell."""
    return tuple(LAYOUT["CELL_PITCH"] * (c + 1) + LAYOUT["CELL_PITCH"] // 2 for c in cell)


def centre(region):
    """The middle of a layout region (left, right, top, bottom), or of menu item 1..4."""
    if isinstance(region, int):
        region = LAYOUT["ITEM_REGIONS"][region - 1]
    left, right, top, bottom = region
    return (left + right) // 2, (top + bottom) // 2


def mismatch(shot, expected):
    """Share of pixels that differ by more than blending rounding in any channel."""
    bands = ImageChops.difference(shot, expected).point(lambda v: 255 if v > 12 else 0).split()
    off = ImageChops.lighter(ImageChops.lighter(bands[0], bands[1]), bands[2])
    return off.histogram()[255] / float(off.width * off.height)


def identical(shot, expected):
    return ImageChops.difference(shot, expected).getbbox() is None


def preload(name):
    """Builds tests/app/NAME.c as a library to preload into the program."""
    library = os.path.join(tempfile.mkdtemp(prefix="vantrixo-preload-"), name + ".so")
    subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", library,
                    os.path.join(HERE, name + ".c"), "-ldl"], check=True)
    return library


class SearchHold:
    """The pipes of hold_search.c: the program stops at each poll of the
    computer's search until released, until `end`."""

    def __init__(self):
        self.release_read, self.release = os.pipe()
        self.held, self.held_write = os.pipe()
        self.env = {"LD_PRELOAD": preload("hold_search"),
                    "VANTRIXO_HOLD": "%d,%d" % (self.release_read, self.held_write)}
        self.fds = (self.release_read, self.held_write)

    def started(self):
        """Call once the program runs: the parent keeps only its own ends."""
        os.close(self.release_read)
        os.close(self.held_write)

    def wait(self, timeout=20, must=True):
        """Until the program stops at a poll of the search: False if it has not
        within the timeout (an error if it must)."""
        ready, _, _ = select.select([self.held], [], [], timeout)
        if ready and os.read(self.held, 1) == b"h":
            return True
        if must:
            raise AssertionError("the program never stopped at a poll of the search")
        return False

    def step(self):
        """Lets the held poll pump the events; True once held at the next one."""
        os.write(self.release, b"g")
        return self.wait(2, must=False)

    def end(self):
        if self.release is not None:
            os.close(self.release)
            self.release = None


def cpu_seconds(pid):
    """Time on a processor so far, all threads, to the nanosecond rather than
    in clock ticks."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
            total += int(f.read().split()[0])
    return total / 1e9
