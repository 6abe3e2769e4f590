#!/usr/bin/python3
"""Composes the pictures under data/ the way the game shows them, so the
artwork can be judged as a player sees it.

    /usr/bin/python3 tools/preview_artwork.py [DATA_DIR] [OUTPUT_DIR]

Writes menu_*.png (one per highlighted item, plus menu_regions.png with the
pointer regions and arrow buttons outlined), game.png (a position with the
legal-move marker), flip_<f>.png (frames of a flip), result_*.png and
sheet.png (everything side by side) to OUTPUT_DIR (default /tmp/vantrixo-preview).
"""

import os
import sys

from PIL import Image, ImageDraw

ITEM_REGIONS = [(133, 154, 270, 166), (126, 176, 277, 188), (116, 198, 287, 210),
                (187, 220, 218, 232)]
ARROW_REGIONS = [(191, 284, 200, 302), (303, 284, 312, 302), (146, 250, 155, 268),
                 (258, 250, 267, 268)]


class Pictures:
    def __init__(self, root):
        self.root = root

    def __call__(self, rel):
        return Image.open(os.path.join(self.root, rel)).convert("RGBA")


def blit(screen, pic, pos):
    screen.alpha_composite(pic, pos)


def menu(p, item, difficulty=1, depth_index=1):
    screen = Image.new("RGBA", (400, 400), (0, 0, 0, 255))
    blit(screen, p("menu/fundo.png"), (0, 0))
    names = ["none", "twoplayers", "sred", "sgreen", "exit"]
    blit(screen, p("menu/%s.png" % names[item]), (115, 150))
    blit(screen, p("menu/dif_%s.png" % ["easy", "normal", "hard"][difficulty]), (145, 250))
    blit(screen, p("menu/depth%d.png" % (2 * depth_index + 3)), (95, 280))
    return screen


def digits(screen, strip, count, x, y):
    for k, d in enumerate((count // 10, count % 10)):
        glyph = strip.crop((10 * d + 1, 0, 10 * d + 9, 21))
        blit(screen, glyph, (x + 9 * k, y))


def game(p, cells, indicator, marker=None, stage_of=None):
    """cells: 8 strings of '.', 'r', 'g' (rows, top first)."""
    screen = Image.new("RGBA", (400, 400), (0, 0, 0, 255))
    blit(screen, p("game/tabuleiro.png"), (0, 0))
    red, green = p("bolinha/1.png"), p("bolinha/10.png")
    counts = {"r": 0, "g": 0}
    for y, row in enumerate(cells):
        for x, c in enumerate(row):
            if c == ".":
                continue
            counts[c] += 1
            pic = red if c == "r" else green
            if stage_of and (x, y) in stage_of:
                pic = p("bolinha/%d.png" % stage_of[(x, y)])
            blit(screen, pic, (41 + 40 * x, 41 + 40 * y))
    if marker:
        blit(screen, p("game/botaoreversiazul.png"), (41 + 40 * marker[0], 41 + 40 * marker[1]))
    blit(screen, p(indicator), (5, 10))
    blit(screen, p("game/esctext.png"), (260, 22))
    strip = p("game/numbers.png")
    blit(screen, green, (1, 361))
    digits(screen, strip, counts["g"], 41, 371)
    blit(screen, red, (361, 361))
    digits(screen, strip, counts["r"], 342, 371)
    return screen


POSITION = ["........", "........", "...g....", "...ggg..", "...rrr..", "....r...",
            "........", "........"]
FULL_DRAW = ["rrrrgggg"] * 8
FULL_RED = ["rrrrrrrr"] * 5 + ["rrgggggg"] * 3
FULL_GREEN = ["gggggggg"] * 5 + ["ggrrrrrr"] * 3


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "data")
    out = argv[2] if len(argv) > 2 else "/tmp/vantrixo-preview"
    os.makedirs(out, exist_ok=True)
    p = Pictures(data)
    shots = []

    def save(name, img):
        img.convert("RGB").save(os.path.join(out, name))
        shots.append(img)

    for item, name in enumerate(["none", "twoplayers", "sred", "sgreen", "exit"]):
        save("menu_%s.png" % name, menu(p, item, difficulty=item % 3, depth_index=(item + 1) % 3))
    debug = menu(p, 2, 0, 2)
    draw = ImageDraw.Draw(debug)
    for r in ITEM_REGIONS + ARROW_REGIONS:
        draw.rectangle(r, outline=(255, 0, 255, 255))
    save("menu_regions.png", debug)
    save("game.png", game(p, POSITION, "game/greenturn.png", marker=(2, 5)))
    # Red has just played (6, 3): the three green discs of row 3 turn red.
    for f in (2, 4, 5, 7):
        stages = {(3, 3): 10 - f, (4, 3): 10 - f, (5, 3): 10 - f}
        flip = game(p, ["........", "........", "...g....", "...rrrr.", "...rrr..", "....r...",
                        "........", "........"], "game/flip.png", stage_of=stages)
        save("flip_%d.png" % f, flip)
    save("result_red.png", game(p, FULL_RED, "game/redwin.png"))
    save("result_green.png", game(p, FULL_GREEN, "game/greenwin.png"))
    save("result_draw.png", game(p, FULL_DRAW, "game/nobodywin.png"))

    cols = 4
    rows = (len(shots) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * 410, rows * 410), (255, 255, 255))
    for k, img in enumerate(shots):
        sheet.paste(img.convert("RGB"), ((k % cols) * 410, (k // cols) * 410))
    sheet.save(os.path.join(out, "sheet.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
