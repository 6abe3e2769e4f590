#!/usr/bin/python3
"""Draws the desktop icons in icons/: a piece of board with two red and two
green discs, as PNG at 32, 48, 64 and 128 pixels and as SVG. Run it again after
changing the drawing; the results are committed."""

import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
BOARD = (22, 96, 58)
LINE = (12, 60, 34)
RED = (214, 40, 40)
GREEN = (60, 200, 80)
RIM = (20, 20, 20)

# In units of a 64-unit square.
DISCS = [((20, 20), GREEN), ((44, 20), RED), ((20, 44), RED), ((44, 44), GREEN)]
RADIUS = 10


def draw_png(size):
    scale = 8
    big = size * scale
    u = big / 64.0
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([u * 2, u * 2, u * 62, u * 62], radius=u * 8, fill=BOARD + (255,))
    d.line([u * 32, u * 6, u * 32, u * 58], fill=LINE + (255,), width=max(1, int(u * 1.5)))
    d.line([u * 6, u * 32, u * 58, u * 32], fill=LINE + (255,), width=max(1, int(u * 1.5)))
    for (cx, cy), colour in DISCS:
        d.ellipse([u * (cx - RADIUS), u * (cy - RADIUS), u * (cx + RADIUS), u * (cy + RADIUS)],
                  fill=colour + (255,), outline=RIM + (255,), width=max(1, int(u)))
    img.resize((size, size), Image.LANCZOS).save(os.path.join(HERE, "icons", "vantrixo-%d.png" % size))


def hexof(c):
    return "#%02x%02x%02x" % c


def draw_svg():
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">',
        '<rect x="2" y="2" width="60" height="60" rx="8" fill="%s"/>' % hexof(BOARD),
        '<path d="M32 6V58M6 32H58" stroke="%s" stroke-width="1.5"/>' % hexof(LINE),
    ]
    for (cx, cy), colour in DISCS:
        parts.append('<circle cx="%d" cy="%d" r="%d" fill="%s" stroke="%s"/>'
                     % (cx, cy, RADIUS, hexof(colour), hexof(RIM)))
    parts.append("</svg>")
    with open(os.path.join(HERE, "icons", "vantrixo.svg"), "w") as f:
        f.write("\n".join(parts) + "\n")


if __name__ == "__main__":
    for s in (32, 48, 64, 128):
        draw_png(s)
    draw_svg()
