// Loads every picture the game ships and checks it against the places the game
// draws it at, so a regenerated set that breaks the layout fails here.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "screens/Layout.h"

namespace {

using namespace layout;

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

int distance(const Rgba& p, const Rgba& q) {
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
}

struct Box {
    int x0, y0, x1, y1;
    bool holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    int area() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
};

// A pointer region in the coordinates of the picture placed at `at`.
Box within(const Region& r, const Point& at) {
    return {r.left - at.x, r.top - at.y, r.right - at.x, r.bottom - at.y};
}

// A picture's pixels as IMG_Load gives them, whatever the file's format.
struct Picture {
    int w = 0, h = 0;
    bool hasAlpha = false;
    std::vector<Rgba> pixels;
    Rgba at(int x, int y) const { return pixels[y * w + x]; }
    int minAlpha() const {
        int lowest = 255;
        for (const Rgba& p : pixels)
            lowest = std::min(lowest, p.a);
        return lowest;
    }
    // How many pixels of box differ by more than threshold from `other`,
    // which lies at (ox, oy) relative to this picture.
    int differing(const Box& box, const Picture& other, int ox, int oy, int threshold) const {
        int n = 0;
        for (int y = box.y0; y <= box.y1; ++y)
            for (int x = box.x0; x <= box.x1; ++x)
                n += distance(at(x, y), other.at(ox + x, oy + y)) > threshold;
        return n;
    }
};

Picture load(const std::string& name) {
    Picture p;
    SDL_Surface* loaded = IMG_Load(("data/" + name).c_str());
    EXPECT_NE(loaded, nullptr) << name << ": " << IMG_GetError();
    if (!loaded)
        return p;
    SDL_Surface* model =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff, 0xff00, 0xff0000, 0xff000000);
    SDL_Surface* s = SDL_ConvertSurface(loaded, model->format, SDL_SWSURFACE);
    p.w = s->w;
    p.h = s->h;
    p.hasAlpha = loaded->format->Amask != 0 || (loaded->flags & SDL_SRCCOLORKEY);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Uint32 v = static_cast<const Uint32*>(s->pixels)[y * s->pitch / 4 + x];
            Uint8 r, g, b, a;
            SDL_GetRGBA(v, s->format, &r, &g, &b, &a);
            p.pixels.push_back({r, g, b, a});
        }
    SDL_FreeSurface(s);
    SDL_FreeSurface(model);
    SDL_FreeSurface(loaded);
    return p;
}

TEST(Artwork, EveryPictureHasTheSizeItsPlaceAllows) {
    struct Limit {
        std::string name;
        int minW, minH, maxW, maxH;
    };
    const int w = WINDOW_SIZE;
    const int cell = CELL_PITCH - 1;
    std::vector<Limit> limits = {
        {"game/tabuleiro.png", w, w, w, w},
        {"game/botaoreversiazul.png", cell - 1, cell - 1, cell - 1, cell - 1},
        // Right of the indicator, above the board, inside the window.
        {"game/esctext.png", 1, 1, w - ESC_TEXT.x, CELL_PITCH - ESC_TEXT.y},
        {"game/numbers.png", 10 * DIGIT_SLOT, GLYPH_HEIGHT, 10 * DIGIT_SLOT, GLYPH_HEIGHT},
        {"menu/fundo.png", w, w, w, w},
    };
    for (const char* n : {"flip", "redturn", "greenturn", "redwin", "greenwin", "nobodywin"})
        limits.push_back({std::string("game/") + n + ".png", 1, 1, ESC_TEXT.x - INDICATOR.x,
                          CELL_PITCH - INDICATOR.y});
    // The items hold every pointer region and end above the difficulty row,
    // which holds its right arrow and ends above the depth row; that one holds
    // its arrows inside the window.
    const Box lastItem = within(ITEM_REGIONS[3], MENU_ITEMS);
    int itemsRight = 0;
    for (const Region& r : ITEM_REGIONS)
        itemsRight = std::max(itemsRight, within(r, MENU_ITEMS).x1);
    const Box difficultyUp = within(DIFFICULTY_UP, MENU_DIFFICULTY);
    const Box depthUp = within(DEPTH_UP, MENU_DEPTH);
    for (const char* n : {"none", "twoplayers", "sred", "sgreen", "exit"})
        limits.push_back({std::string("menu/") + n + ".png", itemsRight + 1, lastItem.y1 + 1,
                          w - MENU_ITEMS.x, MENU_DIFFICULTY.y - MENU_ITEMS.y});
    for (const char* n : {"dif_easy", "dif_normal", "dif_hard"})
        limits.push_back({std::string("menu/") + n + ".png", difficultyUp.x1 + 1,
                          difficultyUp.y1 + 1, w - MENU_DIFFICULTY.x,
                          MENU_DEPTH.y - MENU_DIFFICULTY.y});
    for (const char* n : {"depth3", "depth5", "depth7"})
        limits.push_back({std::string("menu/") + n + ".png", depthUp.x1 + 1, depthUp.y1 + 1,
                          w - MENU_DEPTH.x, w - MENU_DEPTH.y});
    for (int i = 1; i <= 10; ++i)
        limits.push_back({"bolinha/" + std::to_string(i) + ".png", cell - 1, cell - 1, cell, cell});
    for (const Limit& l : limits) {
        Picture p = load(l.name);
        EXPECT_TRUE(p.w >= l.minW && p.w <= l.maxW && p.h >= l.minH && p.h <= l.maxH)
            << l.name << " is " << p.w << "x" << p.h;
        if (l.name.rfind("bolinha/", 0) == 0) {
            EXPECT_EQ(p.w, p.h) << l.name;
        }
    }
}

TEST(Artwork, BoardHasFlatCellsInsideTheGridAndIsOpaque) {
    Picture board = load("game/tabuleiro.png");
    ASSERT_EQ(board.w, WINDOW_SIZE);
    EXPECT_EQ(board.minAlpha(), 255);
    const Rgba cell = board.at(DISC_ORIGIN + 19, DISC_ORIGIN + 19);
    // Every cell's interior, and the two squares beside the counts, is one
    // flat colour: the disc pictures carry that colour around the disc.
    const int last = CELL_PITCH - 2;
    std::vector<Box> squares = {
        {GREEN_DISC.x, GREEN_DISC.y, GREEN_DISC.x + last, GREEN_DISC.y + last},
        {RED_DISC.x, RED_DISC.y, RED_DISC.x + last, RED_DISC.y + last}};
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            const int cx = DISC_ORIGIN + CELL_PITCH * i, cy = DISC_ORIGIN + CELL_PITCH * j;
            squares.push_back({cx, cy, cx + last, cy + last});
        }
    Picture flat{400, 400, false, std::vector<Rgba>(400 * 400, cell)};
    for (const Box& s : squares)
        EXPECT_EQ(board.differing(s, flat, 0, 0, 0), 0) << s.x0 << "," << s.y0;
    // The grid lines set the cells apart.
    for (int line = DISC_ORIGIN - 1; line <= DISC_ORIGIN - 1 + 8 * CELL_PITCH; line += CELL_PITCH)
        for (int along = DISC_ORIGIN + 4; along < 8 * CELL_PITCH; along += CELL_PITCH) {
            EXPECT_GT(distance(board.at(line, along), cell), 20) << "x " << line;
            EXPECT_GT(distance(board.at(along, line), cell), 20) << "y " << line;
        }
}

TEST(Artwork, DiscsAreOpaqueOnTheCellColourAndTurnFromRedToGreen) {
    const Rgba cell = load("game/tabuleiro.png").at(60, 60);
    std::vector<int> widths;
    std::vector<Rgba> centres;
    for (int i = 1; i <= 10; ++i) {
        const std::string name = "bolinha/" + std::to_string(i) + ".png";
        Picture disc = load(name);
        ASSERT_GE(disc.w, 38);
        // The animation blits stage over stage without repainting the board:
        // a single transparent pixel would let the previous stage show.
        EXPECT_EQ(disc.minAlpha(), 255) << name;
        const int n = disc.w - 1;
        for (Rgba corner : {disc.at(0, 0), disc.at(n, 0), disc.at(0, n), disc.at(n, n)})
            EXPECT_EQ(corner, cell) << name;
        int width = 0;  // across the middle row
        for (int x = 0; x <= n; ++x)
            width += distance(disc.at(x, n / 2), cell) > 30;
        widths.push_back(width);
        centres.push_back(disc.at(n / 2, n / 2));
    }
    const Rgba red = centres[0], green = centres[9];
    EXPECT_GT(red.r, red.g + 80);
    EXPECT_GT(green.g, green.r + 80);
    // Told apart by lightness too, not only by hue.
    auto luma = [](Rgba c) { return (2126 * c.r + 7152 * c.g + 722 * c.b) / 10000; };
    EXPECT_GE(std::abs(luma(red) - luma(green)), 40);
    // The disc narrows to its edge, red, and widens again, green.
    EXPECT_GE(std::min(widths[0], widths[9]), 28);
    EXPECT_LE(std::min(widths[4], widths[5]), widths[0] / 3);
    for (int s = 0; s < 9; ++s) {
        if (s < 4) {
            EXPECT_GE(widths[s], widths[s + 1]) << "picture " << s + 1;
        }
        if (s > 4) {
            EXPECT_LE(widths[s], widths[s + 1]) << "picture " << s + 1;
        }
        const Rgba c = centres[s + 1];
        EXPECT_TRUE(s + 1 < 5 ? c.r > c.g : c.g > c.r) << "picture " << s + 2;
    }
}

TEST(Artwork, MarkerIsTranslucentButVisible) {
    Picture marker = load("game/botaoreversiazul.png");
    ASSERT_TRUE(marker.hasAlpha);
    int translucent = 0, strong = 0, blue = 0;
    for (const Rgba& p : marker.pixels) {
        translucent += p.a > 0 && p.a < 255;
        strong += p.a >= 160;
        blue += p.a > 0 && p.b > p.r + 60 && p.b > p.g;
    }
    // The cell shows through most of it, yet parts of it stand out.
    EXPECT_GT(translucent, 38 * 38 / 2);
    EXPECT_GT(strong, 60);
    EXPECT_GT(blue, 38 * 38 / 2);
}

TEST(Artwork, DigitStripKeepsEachGlyphInsideTheRectangleTheGameCopies) {
    Picture strip = load("game/numbers.png");
    Picture board = load("game/tabuleiro.png");
    ASSERT_EQ(strip.w, 10 * DIGIT_SLOT);
    ASSERT_EQ(strip.h, GLYPH_HEIGHT);
    std::vector<std::vector<Rgba>> glyphs;
    for (int d = 0; d < 10; ++d) {
        // The ground may shade from row to row; column 0 shows it. The columns
        // of a slot outside its glyph are never copied: nothing of it there.
        int ink = 0;
        std::vector<Rgba> glyph;
        const int left = DIGIT_SLOT * d + GLYPH_LEFT;
        for (int y = 0; y < GLYPH_HEIGHT; ++y) {
            for (int x = DIGIT_SLOT * d; x < DIGIT_SLOT * (d + 1); ++x) {
                if (x < left || x >= left + GLYPH_WIDTH) {
                    EXPECT_EQ(strip.at(x, y), strip.at(0, y)) << "digit " << d << " row " << y;
                }
            }
            for (int x = left; x < left + GLYPH_WIDTH; ++x) {
                glyph.push_back(strip.at(x, y));
                ink += distance(strip.at(x, y), strip.at(0, y)) > 150;
            }
        }
        EXPECT_GT(ink, 12) << "digit " << d;
        for (size_t e = 0; e < glyphs.size(); ++e)
            EXPECT_NE(glyphs[e], glyph) << e << " " << d;
        glyphs.push_back(glyph);
    }
    // Copied opaque onto the board, the strip's ground must be the board's
    // there, or every count would sit in a box.
    if (strip.minAlpha() == 255) {
        for (const Point& count : {GREEN_COUNT, RED_COUNT})
            for (int x = count.x; x < count.x + DIGIT_STEP + GLYPH_WIDTH; ++x)
                EXPECT_EQ(board.differing({x, count.y, x, count.y + GLYPH_HEIGHT - 1}, strip, -x,
                                          -count.y, 0),
                          0)
                    << x;
    }
}

// Pointer regions of the four items, in picture coordinates.
const Box kItems[] = {within(ITEM_REGIONS[0], MENU_ITEMS), within(ITEM_REGIONS[1], MENU_ITEMS),
                      within(ITEM_REGIONS[2], MENU_ITEMS), within(ITEM_REGIONS[3], MENU_ITEMS)};
const char* const kItemPictures[] = {"menu/none.png", "menu/twoplayers.png", "menu/sred.png",
                                     "menu/sgreen.png", "menu/exit.png"};

TEST(Artwork, MenuLabelsFillThePointerRegionsAndNothingElseLooksClickable) {
    Picture fundo = load("menu/fundo.png");
    Picture none = load(kItemPictures[0]);
    ASSERT_EQ(fundo.w, 400);
    ASSERT_GE(none.w, 173);
    EXPECT_EQ(fundo.minAlpha(), 255);
    EXPECT_EQ(none.minAlpha(), 255);
    // Without a highlight, each label's ink spans most of its region ("Exit"
    // is short: two thirds), and nothing is drawn outside the regions.
    for (const Box& r : kItems) {
        int left = 1000, right = -1;
        for (int x = r.x0; x <= r.x1; ++x)
            if (none.differing({x, r.y0, x, r.y1}, fundo, MENU_ITEMS.x, MENU_ITEMS.y, 120) > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        EXPECT_GE(right - left + 1, (r.x1 - r.x0 + 1) * 2 / 3) << "region at y " << r.y0;
    }
    Picture lit[5] = {none, load(kItemPictures[1]), load(kItemPictures[2]), load(kItemPictures[3]),
                      load(kItemPictures[4])};
    int stray[5] = {};  // pixels changed outside their own region
    for (int y = 0; y < none.h; ++y)
        for (int x = 0; x < none.w; ++x) {
            int item = 0;
            for (int k = 1; k <= 4; ++k)
                if (kItems[k - 1].holds(x, y))
                    item = k;
            // Outside the regions: the backdrop. A highlight changes only
            // its own item's region.
            if (item == 0)
                stray[0] +=
                    distance(none.at(x, y), fundo.at(MENU_ITEMS.x + x, MENU_ITEMS.y + y)) > 30;
            for (int k = 1; k <= 4; ++k)
                if (k != item && lit[k].w == none.w && lit[k].h == none.h)
                    stray[k] += distance(lit[k].at(x, y), none.at(x, y)) > 30;
        }
    for (int k = 0; k <= 4; ++k)
        EXPECT_EQ(stray[k], 0) << kItemPictures[k];
    for (int k = 1; k <= 4; ++k) {
        ASSERT_EQ(lit[k].w, none.w);
        ASSERT_EQ(lit[k].h, none.h);
        EXPECT_GE(lit[k].differing(kItems[k - 1], none, 0, 0, 30), kItems[k - 1].area() * 3 / 5)
            << kItemPictures[k];
    }
}

// One settings row: opaque, arrows drawn in their boxes, and a different value
// between them for each setting.
void checkRow(const std::vector<const char*>& names, const Point& at, const Region& down,
              const Region& up) {
    const Box left = within(down, at);
    const Box right = within(up, at);
    Picture fundo = load("menu/fundo.png");
    std::vector<std::vector<Rgba>> values;
    for (const char* name : names) {
        Picture row = load(name);
        ASSERT_TRUE(row.w > right.x1 && row.h > right.y1) << name;
        EXPECT_EQ(row.minAlpha(), 255) << name;
        for (const Box& arrow : {left, right})
            EXPECT_GE(row.differing(arrow, fundo, at.x, at.y, 30), arrow.area() / 2)
                << name << " arrow at x " << arrow.x0;
        std::vector<Rgba> value;
        for (int y = left.y0; y <= left.y1; ++y)
            for (int x = left.x1 + 1; x < right.x0; ++x)
                value.push_back(row.at(x, y));
        for (const auto& other : values)
            EXPECT_NE(other, value) << name;
        values.push_back(value);
    }
}

TEST(Artwork, SettingsRowsDrawTheirArrowsWhereThePointerFindsThem) {
    checkRow({"menu/dif_easy.png", "menu/dif_normal.png", "menu/dif_hard.png"}, MENU_DIFFICULTY,
             DIFFICULTY_DOWN, DIFFICULTY_UP);
    checkRow({"menu/depth3.png", "menu/depth5.png", "menu/depth7.png"}, MENU_DEPTH, DEPTH_DOWN,
             DEPTH_UP);
}

}  // namespace
