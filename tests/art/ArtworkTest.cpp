// Loads every picture the game ships and checks it against the places the game
// draws it at, so a regenerated set that breaks the layout fails here.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
    int luma() const { return (2126 * r + 7152 * g + 722 * b) / 10000; }
};

int distance(const Rgba& p, const Rgba& q) {
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
}

// A picture as IMG_Load returns it, whatever its pixel format.
class Picture {
  public:
    explicit Picture(const std::string& path) : surface(IMG_Load(path.c_str()), SDL_FreeSurface) {}
    bool loaded() const { return surface != nullptr; }
    int width() const { return surface->w; }
    int height() const { return surface->h; }
    bool hasAlpha() const { return surface->format->Amask != 0 || surface->format->palette; }

    Rgba at(int x, int y) const {
        const SDL_PixelFormat* f = surface->format;
        const Uint8* p =
            static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * f->BytesPerPixel;
        Uint32 v = 0;
        switch (f->BytesPerPixel) {
            case 1:
                v = *p;
                break;
            case 2:
                v = *reinterpret_cast<const Uint16*>(p);
                break;
            case 3:
                v = SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                                    : (p[0] | p[1] << 8 | p[2] << 16);
                break;
            default:
                v = *reinterpret_cast<const Uint32*>(p);
        }
        Uint8 r, g, b, a;
        SDL_GetRGBA(v, surface->format, &r, &g, &b, &a);
        // A colour-keyed pixel is as good as transparent.
        if ((surface->flags & SDL_SRCCOLORKEY) && v == f->colorkey)
            a = 0;
        return {r, g, b, a};
    }

    int minAlpha() const {
        int lowest = 255;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                lowest = std::min(lowest, at(x, y).a);
        return lowest;
    }

  private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface;
};

Picture load(const std::string& name) {
    Picture p("data/" + name);
    EXPECT_TRUE(p.loaded()) << name << ": " << IMG_GetError();
    return p;
}

const int kCellColumns[] = {41, 81, 121, 161, 201, 241, 281, 321};

TEST(Artwork, EveryPictureHasTheSizeItsPlaceAllows) {
    struct Limit {
        const char* name;
        int minW, minH, maxW, maxH;
    };
    const std::vector<Limit> limits = {
        {"game/tabuleiro.png", 400, 400, 400, 400},
        {"game/botaoreversiazul.png", 38, 38, 38, 38},
        {"game/flip.png", 1, 1, 250, 28},
        {"game/redturn.png", 1, 1, 250, 28},
        {"game/greenturn.png", 1, 1, 250, 28},
        {"game/redwin.png", 1, 1, 250, 28},
        {"game/greenwin.png", 1, 1, 250, 28},
        {"game/nobodywin.png", 1, 1, 250, 28},
        {"game/esctext.png", 1, 1, 135, 17},
        {"game/numbers.png", 100, 21, 100, 21},
        {"menu/fundo.png", 400, 400, 400, 400},
        // The items must hold every pointer region (up to x 172, y 82) and
        // end above the difficulty row at window y 250; that row must hold
        // its right arrow (x 122) and end above the depth row at y 280; the
        // depth row must hold its arrows (x 217, y 22) inside the window.
        {"menu/none.png", 173, 83, 285, 100},
        {"menu/twoplayers.png", 173, 83, 285, 100},
        {"menu/sred.png", 173, 83, 285, 100},
        {"menu/sgreen.png", 173, 83, 285, 100},
        {"menu/exit.png", 173, 83, 285, 100},
        {"menu/dif_easy.png", 123, 19, 255, 30},
        {"menu/dif_normal.png", 123, 19, 255, 30},
        {"menu/dif_hard.png", 123, 19, 255, 30},
        {"menu/depth3.png", 218, 23, 305, 120},
        {"menu/depth5.png", 218, 23, 305, 120},
        {"menu/depth7.png", 218, 23, 305, 120},
    };
    for (const Limit& l : limits) {
        Picture p = load(l.name);
        if (!p.loaded())
            continue;
        EXPECT_GE(p.width(), l.minW) << l.name;
        EXPECT_GE(p.height(), l.minH) << l.name;
        EXPECT_LE(p.width(), l.maxW) << l.name;
        EXPECT_LE(p.height(), l.maxH) << l.name;
    }
    for (int i = 1; i <= 10; ++i) {
        const std::string name = "bolinha/" + std::to_string(i) + ".png";
        Picture p = load(name);
        if (!p.loaded())
            continue;
        EXPECT_TRUE((p.width() == 38 && p.height() == 38) || (p.width() == 39 && p.height() == 39))
            << name << " is " << p.width() << "x" << p.height();
    }
}

TEST(Artwork, BoardHasFlatCellsInsideTheGridAndIsOpaque) {
    Picture board = load("game/tabuleiro.png");
    ASSERT_TRUE(board.loaded());
    EXPECT_EQ(board.minAlpha(), 255);
    const Rgba cell = board.at(60, 60);
    // Every cell's interior, and the two squares beside the counts, is one
    // flat colour: the disc pictures carry that colour around the disc.
    std::vector<std::pair<int, int>> squares = {{1, 361}, {361, 361}};
    for (int cx : kCellColumns)
        for (int cy : kCellColumns)
            squares.push_back({cx, cy});
    for (auto [sx, sy] : squares) {
        int odd = 0;
        for (int y = sy; y < sy + 39; ++y)
            for (int x = sx; x < sx + 39; ++x)
                odd += board.at(x, y) != cell;
        EXPECT_EQ(odd, 0) << "square at " << sx << "," << sy;
    }
    // The grid lines set the cells apart.
    for (int k = 0; k <= 8; ++k) {
        const int line = 40 + 40 * k;
        for (int along = 45; along < 360; along += 40) {
            EXPECT_GT(distance(board.at(line, along), cell), 20) << "x " << line;
            EXPECT_GT(distance(board.at(along, line), cell), 20) << "y " << line;
        }
    }
}

TEST(Artwork, DiscsAreOpaqueOnTheCellColourAndTurnFromRedToGreen) {
    Picture board = load("game/tabuleiro.png");
    ASSERT_TRUE(board.loaded());
    const Rgba cell = board.at(60, 60);
    std::vector<int> widths;
    std::vector<Rgba> centres;
    for (int i = 1; i <= 10; ++i) {
        const std::string name = "bolinha/" + std::to_string(i) + ".png";
        Picture disc = load(name);
        ASSERT_TRUE(disc.loaded());
        // The animation blits stage over stage without repainting the board:
        // a single transparent pixel would let the previous stage show.
        EXPECT_EQ(disc.minAlpha(), 255) << name;
        const int n = disc.width();
        for (auto [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}})
            EXPECT_EQ(disc.at(x, y), cell) << name << " corner " << x << "," << y;
        // How wide the disc is across its middle row, and its colour just
        // beside the centre.
        int width = 0;
        for (int x = 0; x < n; ++x)
            width += distance(disc.at(x, n / 2), cell) > 30;
        widths.push_back(width);
        centres.push_back(disc.at(n / 2, n / 2));
    }
    const Rgba red = centres[0], green = centres[9];
    EXPECT_GT(red.r, red.g + 80);
    EXPECT_GT(green.g, green.r + 80);
    // Told apart by lightness too, not only by hue.
    EXPECT_GE(std::abs(red.luma() - green.luma()), 40);
    // The disc narrows to its edge and widens again in the other colour.
    EXPECT_GE(widths[0], 28);
    EXPECT_GE(widths[9], 28);
    for (int s = 0; s < 4; ++s)
        EXPECT_GE(widths[s], widths[s + 1]) << "stage " << s + 1;
    for (int s = 5; s < 9; ++s)
        EXPECT_LE(widths[s], widths[s + 1]) << "stage " << s + 1;
    EXPECT_LE(std::min(widths[4], widths[5]), widths[0] / 3);
    // The first half shows red, the second green.
    for (int s = 1; s <= 8; ++s) {
        const Rgba c = centres[s];
        if (s < 5)
            EXPECT_GT(c.r, c.g) << "picture " << s + 1;
        else
            EXPECT_GT(c.g, c.r) << "picture " << s + 1;
    }
}

TEST(Artwork, MarkerIsTranslucentButVisible) {
    Picture marker = load("game/botaoreversiazul.png");
    ASSERT_TRUE(marker.loaded());
    ASSERT_TRUE(marker.hasAlpha());
    int translucent = 0, strong = 0, bluish = 0;
    for (int y = 0; y < marker.height(); ++y)
        for (int x = 0; x < marker.width(); ++x) {
            const Rgba p = marker.at(x, y);
            translucent += p.a > 0 && p.a < 255;
            strong += p.a >= 160;
            bluish += p.a > 0 && p.b > p.r + 60 && p.b > p.g;
        }
    // The cell shows through most of it, yet parts of it stand out.
    EXPECT_GT(translucent, 38 * 38 / 2);
    EXPECT_GT(strong, 60);
    EXPECT_GT(bluish, 38 * 38 / 2);
}

TEST(Artwork, DigitStripKeepsEachGlyphInsideTheRectangleTheGameCopies) {
    Picture strip = load("game/numbers.png");
    Picture board = load("game/tabuleiro.png");
    ASSERT_TRUE(strip.loaded() && board.loaded());
    ASSERT_EQ(strip.width(), 100);
    ASSERT_EQ(strip.height(), 21);
    // The ground may shade from row to row; column 0 shows it.
    auto ground = [&](int y) { return strip.at(0, y); };
    std::vector<std::vector<Rgba>> glyphs;
    for (int d = 0; d < 10; ++d) {
        // Columns 10d and 10d+9 are never copied: nothing of the glyph there.
        for (int y = 0; y < 21; ++y) {
            EXPECT_EQ(strip.at(10 * d, y), ground(y)) << "digit " << d << " row " << y;
            EXPECT_EQ(strip.at(10 * d + 9, y), ground(y)) << "digit " << d << " row " << y;
        }
        std::vector<Rgba> glyph;
        int ink = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 10 * d + 1; x <= 10 * d + 8; ++x) {
                glyph.push_back(strip.at(x, y));
                ink += distance(strip.at(x, y), ground(y)) > 150;
            }
        EXPECT_GT(ink, 12) << "digit " << d;
        for (size_t e = 0; e < glyphs.size(); ++e)
            EXPECT_NE(glyphs[e], glyph) << "digits " << e << " and " << d << " look alike";
        glyphs.push_back(glyph);
    }
    // Copied opaque onto the board, the strip's ground must be the board's
    // there, or every count would sit in a box.
    if (!strip.hasAlpha() || strip.minAlpha() == 255) {
        for (int x0 : {41, 50, 342, 351})
            for (int y = 0; y < 21; ++y) {
                EXPECT_EQ(board.at(x0, 371 + y), strip.at(0, y)) << x0 << "," << 371 + y;
                EXPECT_EQ(board.at(x0 + 7, 371 + y), strip.at(0, y)) << x0 << "," << 371 + y;
            }
    }
}

// An opaque picture drawn over the board must match the board along its
// border, or it shows as a box.
void expectBlendsInto(const Picture& over, const Picture& under, int px, int py,
                      const std::string& name) {
    if (over.hasAlpha() && over.minAlpha() < 255)
        return;
    int seams = 0;
    for (int x = 0; x < over.width(); ++x)
        seams += (over.at(x, 0) != under.at(px + x, py)) +
                 (over.at(x, over.height() - 1) != under.at(px + x, py + over.height() - 1));
    for (int y = 0; y < over.height(); ++y)
        seams += (over.at(0, y) != under.at(px, py + y)) +
                 (over.at(over.width() - 1, y) != under.at(px + over.width() - 1, py + y));
    EXPECT_EQ(seams, 0) << name;
}

TEST(Artwork, TopBandLabelsBlendIntoTheBoard) {
    Picture board = load("game/tabuleiro.png");
    ASSERT_TRUE(board.loaded());
    for (const char* name : {"game/flip.png", "game/redturn.png", "game/greenturn.png",
                             "game/redwin.png", "game/greenwin.png", "game/nobodywin.png"}) {
        Picture p = load(name);
        if (p.loaded())
            expectBlendsInto(p, board, 5, 10, name);
    }
    Picture esc = load("game/esctext.png");
    if (esc.loaded())
        expectBlendsInto(esc, board, 260, 22, "game/esctext.png");
}

struct Box {
    int x0, y0, x1, y1;
    bool holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// Pointer regions of the four items, in picture coordinates.
const Box kItems[] = {{18, 4, 155, 16}, {11, 26, 162, 38}, {1, 48, 172, 60}, {72, 70, 103, 82}};
const char* const kItemPictures[] = {"menu/none.png", "menu/twoplayers.png", "menu/sred.png",
                                     "menu/sgreen.png", "menu/exit.png"};

TEST(Artwork, MenuLabelsFillThePointerRegionsAndNothingElseLooksClickable) {
    Picture fundo = load("menu/fundo.png");
    Picture none = load(kItemPictures[0]);
    ASSERT_TRUE(fundo.loaded() && none.loaded());
    EXPECT_EQ(fundo.minAlpha(), 255);
    EXPECT_EQ(none.minAlpha(), 255);
    // Without a highlight, the ink of each label spans most of its region
    // ("Exit" is short: two thirds) and no ink lies outside the regions.
    for (const Box& r : kItems) {
        int left = 1000, right = -1;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                if (distance(none.at(x, y), fundo.at(115 + x, 150 + y)) > 120) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        EXPECT_GE(right - left + 1, (r.x1 - r.x0 + 1) * 2 / 3) << "region at y " << r.y0;
    }
    int stray = 0;
    for (int y = 0; y < none.height(); ++y)
        for (int x = 0; x < none.width(); ++x) {
            bool inside = false;
            for (const Box& r : kItems)
                inside = inside || r.holds(x, y);
            stray += !inside && distance(none.at(x, y), fundo.at(115 + x, 150 + y)) > 30;
        }
    EXPECT_EQ(stray, 0);
    // Each highlighted picture changes its own region, and only that.
    for (int item = 1; item <= 4; ++item) {
        Picture lit = load(kItemPictures[item]);
        ASSERT_TRUE(lit.loaded());
        ASSERT_EQ(lit.width(), none.width());
        ASSERT_EQ(lit.height(), none.height());
        const Box& r = kItems[item - 1];
        int changedInside = 0, changedOutside = 0;
        for (int y = 0; y < lit.height(); ++y)
            for (int x = 0; x < lit.width(); ++x) {
                const bool changed = distance(lit.at(x, y), none.at(x, y)) > 30;
                if (r.holds(x, y))
                    changedInside += changed;
                else
                    changedOutside += changed;
            }
        const int area = (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1);
        EXPECT_GE(changedInside, area * 3 / 5) << kItemPictures[item];
        EXPECT_EQ(changedOutside, 0) << kItemPictures[item];
    }
}

// Checks one settings row: arrows drawn in their boxes, the value between
// them different for each setting, and the row opaque.
void checkRow(const std::vector<const char*>& names, int px, int py, const Box& left,
              const Box& right) {
    Picture fundo = load("menu/fundo.png");
    ASSERT_TRUE(fundo.loaded());
    std::vector<std::vector<Rgba>> values;
    for (const char* name : names) {
        Picture row = load(name);
        ASSERT_TRUE(row.loaded());
        EXPECT_EQ(row.minAlpha(), 255) << name;
        for (const Box& arrow : {left, right}) {
            int ink = 0;
            for (int y = arrow.y0; y <= arrow.y1; ++y)
                for (int x = arrow.x0; x <= arrow.x1; ++x)
                    ink += distance(row.at(x, y), fundo.at(px + x, py + y)) > 30;
            const int area = (arrow.x1 - arrow.x0 + 1) * (arrow.y1 - arrow.y0 + 1);
            EXPECT_GE(ink, area / 2) << name << " arrow at x " << arrow.x0;
        }
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
    checkRow({"menu/dif_easy.png", "menu/dif_normal.png", "menu/dif_hard.png"}, 145, 250,
             {1, 0, 10, 18}, {113, 0, 122, 18});
    checkRow({"menu/depth3.png", "menu/depth5.png", "menu/depth7.png"}, 95, 280, {96, 4, 105, 22},
             {208, 4, 217, 22});
}

}  // namespace
