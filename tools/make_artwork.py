#!/usr/bin/python3
"""Draws every picture of vantrixo and writes them as PNG files.

    /usr/bin/python3 tools/make_artwork.py [OUTPUT_DIR]

OUTPUT_DIR defaults to the repository's data/ directory; the pictures go to
OUTPUT_DIR/game, OUTPUT_DIR/bolinha and OUTPUT_DIR/menu. The output depends
only on this script, Pillow and the DejaVu fonts: no clock, no random state,
so running it twice gives byte-identical files. Change a colour below and
run `make artwork` to redraw everything.

Shapes are drawn at SS times the final size and scaled down with a
high-quality filter; text is rendered at its final size so it stays crisp.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
from screen_layout import read_layout  # noqa: E402

# --- Palette -----------------------------------------------------------------
CELL = (46, 62, 78)  # every board cell, and the ground of the disc pictures
GRID = (20, 27, 36)  # 1-pixel grid lines
BAND_TOP = (33, 42, 54)  # the bands around the board, top of the window...
BAND_BOTTOM = (22, 29, 38)  # ...fading to this at the bottom
RED = (204, 30, 58)  # crimson: clearly darker than the emerald
GREEN = (70, 216, 140)  # emerald
RED_TEXT = (255, 118, 136)  # the side names when written on dark ground
GREEN_TEXT = (112, 232, 164)
TEXT = (228, 234, 242)  # ordinary text
DIM_TEXT = (150, 166, 184)  # captions and hints
MARKER = (84, 164, 255)  # the blue legal-move marker
ACCENT = (246, 196, 78)  # the bar under the menu item at the pointer
ACCENT_TEXT = (26, 28, 34)  # text on that bar
BUTTON = (64, 82, 104)  # menu arrow buttons
BUTTON_OFF = (40, 52, 66)  # an arrow that can go no further
ARROW = (236, 240, 246)
ARROW_OFF = (92, 106, 122)
MENU_TOP = (36, 48, 64)  # menu backdrop, top...
MENU_BOTTOM = (16, 21, 29)  # ...and bottom
MENU_GLOW = (64, 84, 112)  # soft light behind the title

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_REGULAR = FONT_DIR + "DejaVuSans.ttf"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"

SS = 4  # supersampling factor for shapes

# --- Geometry the game draws at (window pixels) -------------------------------
def relative(region, origin):
    """A layout region (left, right, top, bottom) as an inclusive box
    (x0, y0, x1, y1) in the coordinates of a picture placed at origin."""
    left, right, top, bottom = region
    return (left - origin[0], top - origin[1], right - origin[0], bottom - origin[1])


LAYOUT = read_layout()
WINDOW = LAYOUT["WINDOW_SIZE"]
PITCH = LAYOUT["CELL_PITCH"]
BOARD_LO = LAYOUT["DISC_ORIGIN"] - 1  # first grid line: the discs sit just inside it
BOARD_HI = BOARD_LO + 8 * PITCH  # and the last
DISC_SIZE = PITCH - 1  # a disc picture fills a cell's interior
MARKER_SIZE = 38
INDICATOR_POS, INDICATOR_SIZE = LAYOUT["INDICATOR"], (250, 28)
ESC_POS, ESC_SIZE = LAYOUT["ESC_TEXT"], (135, 17)
COUNT_POS = LAYOUT["GREEN_COUNT"]
DIGIT_SLOT, GLYPH_LEFT = LAYOUT["DIGIT_SLOT"], LAYOUT["GLYPH_LEFT"]
DIGIT_GLYPH_W, DIGITS_H = LAYOUT["GLYPH_WIDTH"], LAYOUT["GLYPH_HEIGHT"]
GREEN_SQUARE, RED_SQUARE = LAYOUT["GREEN_DISC"], LAYOUT["RED_DISC"]

ITEMS_POS, ITEMS_SIZE = LAYOUT["MENU_ITEMS"], (175, 86)
# Pointer regions of the four items, picture coordinates, inclusive bounds.
ITEM_REGIONS = [relative(r, ITEMS_POS) for r in LAYOUT["ITEM_REGIONS"]]
DIF_POS, DIF_SIZE = LAYOUT["MENU_DIFFICULTY"], (124, 19)
DIF_ARROWS = [relative(LAYOUT[k], DIF_POS) for k in ("DIFFICULTY_DOWN", "DIFFICULTY_UP")]
DEPTH_POS, DEPTH_SIZE = LAYOUT["MENU_DEPTH"], (220, 27)
DEPTH_ARROWS = [relative(LAYOUT[k], DEPTH_POS) for k in ("DEPTH_DOWN", "DEPTH_UP")]

NUM_STAGES = 10  # disc pictures 1 (red) .. 10 (green)


# --- Small helpers ------------------------------------------------------------
def mix(a, b, t):
    """Colour a blended towards b by t (0..1), rounded to integers."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def scale(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c)


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def font(path, size):
    # Raqm (a dependency of Debian's python3-pil) lays out with the font's
    # kerning; naming it keeps the output the same wherever Pillow runs.
    return ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.RAQM)


def downscale(img, size):
    """The one way a supersampled drawing comes down to its final size."""
    return img.resize(size, Image.LANCZOS)


def band_colour(y):
    """The bands around the board depend on y only, so any crop of them fits
    anywhere along a row (the digit strip relies on this)."""
    return mix(BAND_TOP, BAND_BOTTOM, y / (WINDOW - 1))


def menu_backdrop_colour(x, y):
    t = y / (WINDOW - 1)
    c = mix(MENU_TOP, MENU_BOTTOM, t)
    # A wide, soft glow behind the title that has died out before the items.
    d = math.hypot((x - 200) / 190.0, (y - 72) / 70.0)
    return mix(c, MENU_GLOW, 0.55 * (1.0 - smoothstep(0.0, 1.0, d)))


def image_from(fn, size):
    w, h = size
    img = Image.new("RGB", size)
    img.putdata([fn(x, y) for y in range(h) for x in range(w)])
    return img


# --- Discs --------------------------------------------------------------------
def disc_layer(size, stage, radius, thickness, centre=None):
    """An RGBA drawing of a disc (with its soft shadow) at its final size.

    stage 0 is the red face, NUM_STAGES-1 the green one; in between the disc
    turns about its vertical axis: the face narrows to the edge and the other
    colour widens. Each covered supersample gets one colour; the scaling down
    does the anti-aliasing.
    """
    w, h = size
    cx, cy = centre if centre else (w / 2.0, h / 2.0)
    angle = math.pi * stage / (NUM_STAGES - 1)
    cos_a, sin_a = math.cos(angle), math.sin(angle)
    a = max(radius * abs(cos_a), 0.35)  # half-width of a face
    shift = thickness * sin_a / 2.0  # the red face sits right, the green left
    red_x, green_x = cx + shift, cx - shift
    red_visible = cos_a >= 0
    face_x = red_x if red_visible else green_x
    face_colour = RED if red_visible else GREEN
    # A face turned away from the viewer catches less light.
    face_light = 0.78 + 0.22 * abs(cos_a)
    edge_red, edge_green = scale(RED, 0.55), scale(GREEN, 0.42)
    # Paint order for the edge: the hidden face's half first.
    if red_visible:
        sweeps = [(green_x, cx, edge_green), (cx, red_x, edge_red)]
    else:
        sweeps = [(cx, red_x, edge_red), (green_x, cx, edge_green)]

    def in_ellipse(x, y, ex):
        return ((x - ex) / a) ** 2 + ((y - cy) / radius) ** 2 <= 1.0

    def in_sweep(x, y, x0, x1):
        lo, hi = min(x0, x1), max(x0, x1)
        if lo <= x <= hi and abs(y - cy) <= radius:
            return True
        return in_ellipse(x, y, lo) or in_ellipse(x, y, hi)

    sh_x, sh_y = cx + 0.9, cy + 1.7
    sh_a, sh_b = a + shift + 0.6, radius + 0.6

    def face(x, y):
        u, v = (x - face_x) / a, (y - cy) / radius
        r = math.sqrt(u * u + v * v)
        lit = -(u + v) / math.sqrt(2.0)  # light from the upper left
        if r > 0.84:  # bevelled rim
            f = 0.72 + 0.30 * lit / max(r, 1e-6)
            return scale(face_colour, f * face_light)
        f = (0.94 + 0.10 * lit) * face_light
        if r > 0.76:  # a thin groove inside the rim
            f *= 0.86
        c = scale(face_colour, f)
        spot = math.exp(-((u + 0.30) ** 2 + (v + 0.36) ** 2) / (2 * 0.24**2))
        return mix(c, (255, 255, 255), 0.50 * spot * face_light)

    big = (w * SS, h * SS)
    pixels = []
    for j in range(big[1]):
        y = (j + 0.5) / SS
        for i in range(big[0]):
            x = (i + 0.5) / SS
            if in_ellipse(x, y, face_x):
                pixels.append(face(x, y) + (255,))
                continue
            colour = None
            for x0, x1, c in sweeps:
                if in_sweep(x, y, x0, x1):
                    shade = 0.92 - 0.25 * (y - cy) / radius
                    colour = scale(c, shade)
            if colour:
                pixels.append(colour + (255,))
                continue
            q = math.hypot((x - sh_x) / sh_a, (y - sh_y) / sh_b)
            alpha = int(round(120 * (1.0 - smoothstep(0.80, 1.12, q))))
            pixels.append((0, 0, 0, alpha))
    img = Image.new("RGBA", big)
    img.putdata(pixels)
    return downscale(img, size)


def disc_picture(stage):
    """A disc on the flat cell colour, fully opaque: the flip animation blits
    the stages over each other without repainting the board."""
    tile = Image.new("RGBA", (DISC_SIZE, DISC_SIZE), CELL + (255,))
    tile.alpha_composite(disc_layer((DISC_SIZE, DISC_SIZE), stage, 16.0, 3.2))
    return tile.convert("RGB")


def paste_disc(img, pos, diameter, stage):
    """Composites a small disc icon on an opaque picture."""
    d = int(math.ceil(diameter)) + 4
    layer = disc_layer((d, d), stage, diameter / 2.0, diameter / 10.0)
    base = img.crop((pos[0], pos[1], pos[0] + d, pos[1] + d)).convert("RGBA")
    base.alpha_composite(layer)
    img.paste(base.convert("RGB"), pos)


# --- Text ---------------------------------------------------------------------
def ink_box(fnt, text):
    return fnt.getbbox(text)


def draw_runs(img, pos, runs, fnt):
    """Draws text made of (string, colour) runs, each at a whole pixel so the
    stems stay sharp."""
    draw = ImageDraw.Draw(img)
    done = ""
    for text, colour in runs:
        x = int(round(pos[0] + fnt.getlength(done)))
        draw.text((x, pos[1]), text, font=fnt, fill=colour)
        done += text


def runs_width(runs, fnt):
    whole = "".join(t for t, _ in runs)
    left, _, right, _ = ink_box(fnt, whole)
    return right - left, left


def draw_centred(img, box, runs, fnt, ref="Xg"):
    """Centres text in box (x0, y0, x1, y1 inclusive): horizontally by its ink,
    vertically by the ink of `ref` so that rows of labels line up."""
    width, left = runs_width(runs, fnt)
    _, top, _, bottom = ink_box(fnt, ref)
    x = box[0] + (box[2] - box[0] + 1 - width) / 2.0 - left
    y = box[1] + (box[3] - box[1] + 1 - (bottom - top)) / 2.0 - top
    draw_runs(img, (x, int(round(y))), runs, fnt)


def rounded_box(img, box, radius, fill):
    """An anti-aliased rounded rectangle covering box (inclusive bounds)."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0 + 1, y1 - y0 + 1
    mask = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        (0, 0, w * SS - 1, h * SS - 1), radius=radius * SS, fill=255
    )
    mask = downscale(mask, (w, h))
    img.paste(Image.new("RGB", (w, h), fill), (x0, y0), mask)


def polygon(img, points, fill):
    """An anti-aliased polygon; points in picture pixels (corners of pixels)."""
    mask = Image.new("L", (img.width * SS, img.height * SS), 0)
    ImageDraw.Draw(mask).polygon([(x * SS, y * SS) for x, y in points], fill=255)
    mask = downscale(mask, img.size)
    img.paste(Image.new("RGB", img.size, fill), (0, 0), mask)


# --- Game screen ----------------------------------------------------------------
def board_picture():
    img = image_from(lambda x, y: band_colour(y), (WINDOW, WINDOW))
    draw = ImageDraw.Draw(img)
    draw.rectangle((BOARD_LO, BOARD_LO, BOARD_HI, BOARD_HI), fill=CELL)
    for k in range(9):
        p = BOARD_LO + PITCH * k
        draw.line((p, BOARD_LO, p, BOARD_HI), fill=GRID)
        draw.line((BOARD_LO, p, BOARD_HI, p), fill=GRID)
    # A faint lighter line around the playing area lifts it off the bands.
    edge = mix(CELL, TEXT, 0.12)
    draw.rectangle((BOARD_LO - 1, BOARD_LO - 1, BOARD_HI + 1, BOARD_HI + 1), outline=edge)
    # The two squares beside the counts look like cells: the disc pictures
    # are shown there.
    for sx, sy in (GREEN_SQUARE, RED_SQUARE):
        draw.rectangle((sx - 1, sy - 1, sx + DISC_SIZE, sy + DISC_SIZE), fill=GRID)
        draw.rectangle((sx, sy, sx + DISC_SIZE - 1, sy + DISC_SIZE - 1), fill=CELL)
    return img


def crop_at(img, pos, size):
    return img.crop((pos[0], pos[1], pos[0] + size[0], pos[1] + size[1]))


def marker_picture():
    """The blue marker over a legal cell: translucent so the cell shows."""
    big = Image.new("RGBA", (MARKER_SIZE * SS, MARKER_SIZE * SS), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    m, r = 2 * SS, 7 * SS
    box = (m, m, MARKER_SIZE * SS - 1 - m, MARKER_SIZE * SS - 1 - m)
    draw.rounded_rectangle(box, radius=r, fill=MARKER + (70,), outline=MARKER + (235,),
                           width=int(2.2 * SS))
    c, rr = MARKER_SIZE * SS / 2.0, 4.5 * SS
    draw.ellipse((c - rr, c - rr, c + rr, c + rr), fill=MARKER + (200,))
    return downscale(big, (MARKER_SIZE, MARKER_SIZE))


def indicator_picture(board, runs, icon):
    """A turn or result label at the indicator's place, drawn on a crop of the
    board so the picture can be opaque and still fit seamlessly."""
    img = crop_at(board, INDICATOR_POS, INDICATOR_SIZE)
    x = 2
    for stage in icon:
        paste_disc(img, (x, 2), 20, stage)
        x += 14
    x += 14
    fnt = font(FONT_BOLD, 16)
    draw_centred(img, (x, 0, x + runs_width(runs, fnt)[0], INDICATOR_SIZE[1] - 1), runs, fnt)
    return img


def esc_picture(board):
    img = crop_at(board, ESC_POS, ESC_SIZE)
    fnt = font(FONT_REGULAR, 11)
    runs = [("ESC", TEXT), (" leaves the game", DIM_TEXT)]
    width, left = runs_width(runs, fnt)
    # Right-aligned, a few pixels in from the window's edge.
    box = (int(ESC_SIZE[0] - 2 - width), 0, ESC_SIZE[0] - 3, ESC_SIZE[1] - 1)
    draw_centred(img, box, runs, fnt)
    return img


def digits_picture(board):
    """The digit strip: digit d in slot x = 10d..10d+9, its glyph within the
    8x21 rectangle at x = 10d+1 that the game copies. DejaVu's digits are
    drawn large and narrowed to that width."""
    img = crop_at(board, COUNT_POS, (10 * DIGIT_SLOT, DIGITS_H))
    fnt = font(FONT_BOLD, 20 * SS)
    glyphs = []
    for d in range(10):
        g = Image.new("L", (24 * SS, 30 * SS), 0)
        ImageDraw.Draw(g).text((2 * SS, 0), str(d), font=fnt, fill=255)
        glyphs.append(g)
    boxes = [g.getbbox() for g in glyphs]
    top = min(b[1] for b in boxes)
    bottom = max(b[3] for b in boxes)
    widest = max(b[2] - b[0] for b in boxes)
    height = 15
    sy = height / float(bottom - top)
    sx = DIGIT_GLYPH_W / float(widest)
    mask = Image.new("L", img.size, 0)
    for d, (g, b) in enumerate(zip(glyphs, boxes)):
        src = g.crop((b[0], top, b[2], bottom))
        w = max(1, int(round((b[2] - b[0]) * sx)))
        small = src.resize((w, height), Image.LANCZOS)
        x = DIGIT_SLOT * d + GLYPH_LEFT + (DIGIT_GLYPH_W - w) // 2
        mask.paste(small, (x, (DIGITS_H - height) // 2 + 1))
    img.paste(Image.new("RGB", img.size, TEXT), (0, 0), mask)
    return img


# --- Menu ---------------------------------------------------------------------
def menu_backdrop():
    return image_from(menu_backdrop_colour, (WINDOW, WINDOW))


def menu_background(backdrop):
    img = backdrop.copy()
    # Title with a soft shadow.
    title_font = font(FONT_BOLD, 56)
    title = "vantrixo"
    left, top, right, bottom = title_font.getbbox(title)
    tx = (WINDOW - (right - left)) // 2 - left
    ty = 34 - top
    shadow = Image.new("L", img.size, 0)
    ImageDraw.Draw(shadow).text((tx + 2, ty + 3), title, font=title_font, fill=170)
    shadow = shadow.filter(ImageFilter.GaussianBlur(3))
    img.paste(Image.new("RGB", img.size, (6, 8, 12)), (0, 0), shadow)
    ImageDraw.Draw(img).text((tx, ty), title, font=title_font, fill=TEXT)
    # A row of discs under the title, alternating colours.
    n, d, gap = 8, 16, 6
    x0 = (WINDOW - (n * d + (n - 1) * gap)) // 2 - 2
    for k in range(n):
        paste_disc(img, (x0 + k * (d + gap), 108), d, 0 if k % 2 == 0 else NUM_STAGES - 1)
    # Caption of the difficulty row, whose picture starts at its left arrow.
    fnt = font(FONT_BOLD, 12)
    runs = [("Difficulty", DIM_TEXT)]
    width, _ = runs_width(runs, fnt)
    arrow = DIF_POS[0] + DIF_ARROWS[0][0]
    draw_centred(img, (int(arrow - 9 - width), DIF_POS[1], arrow - 9, DIF_POS[1] + 18), runs, fnt)
    # How to leave, at the foot of the screen.
    hint = font(FONT_REGULAR, 11)
    draw_centred(img, (0, 366, WINDOW - 1, 382),
                 [("Click an item to start", DIM_TEXT), ("  \u00b7  ", DIM_TEXT),
                  ("ESC", TEXT), (" quits", DIM_TEXT)], hint)
    return img


ITEM_LABELS = [
    [("Two human players", None)],
    [("Play ", None), ("red", RED_TEXT), (" vs computer", None)],
    [("Play ", None), ("green", GREEN_TEXT), (" vs computer", None)],
    [("Exit", None)],
]


def items_picture(backdrop, highlighted):
    """The four items; item `highlighted` (1..4, 0 for none) sits on a bar
    that covers exactly its pointer region."""
    img = crop_at(backdrop, ITEMS_POS, ITEMS_SIZE)
    fnt = font(FONT_BOLD, 11)
    for k, (region, label) in enumerate(zip(ITEM_REGIONS, ITEM_LABELS), start=1):
        on = k == highlighted
        if on:
            rounded_box(img, region, 4, ACCENT)
        runs = [(t, ACCENT_TEXT if on else (c or TEXT)) for t, c in label]
        draw_centred(img, region, runs, fnt, ref="Tpg")
    return img


def arrow_button(img, box, pointing_left, enabled):
    x0, y0, x1, y1 = box
    rounded_box(img, box, 3, BUTTON if enabled else BUTTON_OFF)
    cy = (y0 + y1 + 1) / 2.0
    xl, xr = x0 + 2.2, x1 + 1 - 2.2
    tip, back = (xl, xr) if pointing_left else (xr, xl)
    polygon(img, [(tip, cy), (back, cy - 4.6), (back, cy + 4.6)], ARROW if enabled else ARROW_OFF)


def row_picture(backdrop, pos, size, arrows, value, index, caption=None):
    img = crop_at(backdrop, pos, size)
    arrow_button(img, arrows[0], True, index > 0)
    arrow_button(img, arrows[1], False, index < 2)
    ay0, ay1 = arrows[0][1], arrows[0][3]
    fnt = font(FONT_BOLD, 13)
    draw_centred(img, (arrows[0][2] + 1, ay0, arrows[1][0] - 1, ay1), [(value, TEXT)], fnt)
    if caption:
        cap = font(FONT_BOLD, 12)
        runs = [(caption, DIM_TEXT)]
        width, _ = runs_width(runs, cap)
        right = arrows[0][0] - 9
        draw_centred(img, (int(right - width), ay0, right, ay1), runs, cap)
    return img


# --- Output ---------------------------------------------------------------------
def all_pictures():
    """Every picture, as (relative path, image), in a fixed order."""
    out = []
    board = board_picture()
    out.append(("game/tabuleiro.png", board))
    out.append(("game/botaoreversiazul.png", marker_picture()))
    out.append(("game/flip.png", indicator_picture(board, [("Turning over\u2026", TEXT)], [2, 7])))
    out.append(("game/redturn.png",
                indicator_picture(board, [("Red", RED_TEXT), (" to move", TEXT)], [0])))
    out.append(("game/greenturn.png",
                indicator_picture(board, [("Green", GREEN_TEXT), (" to move", TEXT)], [9])))
    out.append(("game/redwin.png",
                indicator_picture(board, [("Red", RED_TEXT), (" wins!", TEXT)], [0])))
    out.append(("game/greenwin.png",
                indicator_picture(board, [("Green", GREEN_TEXT), (" wins!", TEXT)], [9])))
    out.append(("game/nobodywin.png",
                indicator_picture(board, [("Draw: nobody wins", TEXT)], [0, 9])))
    out.append(("game/esctext.png", esc_picture(board)))
    out.append(("game/numbers.png", digits_picture(board)))
    for stage in range(NUM_STAGES):
        out.append(("bolinha/%d.png" % (stage + 1), disc_picture(stage)))

    backdrop = menu_backdrop()
    for k, name in enumerate(["none", "twoplayers", "sred", "sgreen", "exit"]):
        out.append(("menu/%s.png" % name, items_picture(backdrop, k)))
    for k, depth in enumerate(["3", "5", "7"]):
        out.append(("menu/depth%s.png" % depth,
                    row_picture(backdrop, DEPTH_POS, DEPTH_SIZE, DEPTH_ARROWS, depth, k,
                                "Search depth")))
    for k, level in enumerate(["easy", "normal", "hard"]):
        out.append(("menu/dif_%s.png" % level,
                    row_picture(backdrop, DIF_POS, DIF_SIZE, DIF_ARROWS, level, k)))
    out.append(("menu/fundo.png", menu_background(backdrop)))
    return out


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: make_artwork.py [OUTPUT_DIR]\n")
        return 2
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) == 2 else os.path.join(here, os.pardir, "data")
    for rel, img in all_pictures():
        path = os.path.join(out_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # Plain save: Pillow writes no time stamp or text chunk, so the bytes
        # depend on the pixels alone.
        img.save(path, "PNG", compress_level=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
