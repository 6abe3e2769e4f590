"""A private Xvfb server and the helpers the end-to-end scripts drive the game
with: xdotool for the pointer and keys, python3-xlib for close requests,
ImageMagick's import for screenshots, and the expected frames composed from
the pictures in data/."""

import io
import os
import subprocess
import time

from PIL import Image
from Xlib import X, display, protocol


class XServer:
    def __init__(self):
        # -noreset: without it the server restarts whenever its last client
        # leaves (the readiness probe below), refusing connections meanwhile.
        # -displayfd lets the server pick a free display, so parallel runs
        # never collide.
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "640x480x24",
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

    def menu(self):
        return self.compose([("menu/fundo.png", (0, 0), None), ("menu/none.png", (115, 150), None),
                             ("menu/dif_normal.png", (145, 250), None),
                             ("menu/depth5.png", (95, 280), None)])

    def game(self, red, green, indicator, highlight=None):
        layers = [("game/tabuleiro.png", (0, 0), None)]
        for x in range(8):
            for y in range(8):
                if (x, y) in red:
                    layers.append(("bolinha/1.png", (41 + 40 * x, 41 + 40 * y), None))
                elif (x, y) in green:
                    layers.append(("bolinha/10.png", (41 + 40 * x, 41 + 40 * y), None))
        if highlight is not None:
            layers.append(("game/botaoreversiazul.png",
                           (40 * highlight[0] + 41, 40 * highlight[1] + 41), None))
        layers.append(("game/%s.png" % indicator, (5, 10), None))
        layers.append(("game/esctext.png", (260, 22), None))

        def digits(count, left):
            return [("game/numbers.png", (left + 9 * i, 371), (10 * d + 1, 0, 10 * d + 9, 21))
                    for i, d in enumerate((count // 10, count % 10))]

        layers.append(("bolinha/10.png", (1, 361), None))
        layers += digits(len(green), 41)
        layers.append(("bolinha/1.png", (361, 361), None))
        layers += digits(len(red), 342)
        return self.compose(layers)


def mismatch(shot, expected):
    """Share of pixels that differ by more than blending rounding."""
    a = shot.load()
    b = expected.load()
    bad = 0
    for y in range(400):
        for x in range(400):
            p, q = a[x, y], b[x, y]
            if max(abs(p[0] - q[0]), abs(p[1] - q[1]), abs(p[2] - q[2])) > 12:
                bad += 1
    return bad / 160000.0


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
