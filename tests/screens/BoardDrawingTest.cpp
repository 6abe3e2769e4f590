#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/Board.h"
#include "rules/MoveList.h"
#include "screens/Layout.h"
#include "support/SdlSeam.h"

namespace {

const std::string BACKGROUND = "data/game/tabuleiro.png";
const std::string FLIP_LABEL = "data/game/flip.png";

std::string disc(int picture) {
    return "data/bolinha/" + std::to_string(picture) + ".png";
}

std::string steadyPicture(int32_t value) {
    return value == RED ? disc(1) : value == GREEN ? disc(10) : BACKGROUND;
}

// What a frame shows at each cell: the picture at the disc's first and last
// pixel when both agree, else "torn"; and whether the grid around it is board.
struct Frame {
    std::string cells[8][8];
    bool gridIntact = true;
    std::string label;
    uint32_t at = 0;
};

Frame capture(SDL_Surface* screen) {
    Frame f;
    f.at = seam::now();
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int left = layout::DISC_ORIGIN + layout::CELL_PITCH * x;
            const int top = layout::DISC_ORIGIN + layout::CELL_PITCH * y;
            const std::string first = seam::pictureAt(screen, left, top);
            f.cells[x][y] = first == seam::pictureAt(screen, left + 37, top + 37) ? first : "torn";
            f.gridIntact &= seam::pictureAt(screen, left - 1, top - 1) == BACKGROUND &&
                            seam::pictureAt(screen, left + 38, top + 38) == BACKGROUND;
        }
    }
    f.label = seam::pictureAt(screen, layout::INDICATOR.x, layout::INDICATOR.y);
    return f;
}

class BoardDrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seam::reset();
        screen = seam::screen();
        ASSERT_NE(screen, nullptr);
        seam::onFlip([this](SDL_Surface* s) { frames.push_back(capture(s)); });
    }

    // Each frame of the animation shows `expected(frame, x, y)` at every cell,
    // ten frames 40 ms apart, and the call lasts 400 ms.
    template <typename Expected>
    void expectAnimation(Board& board, Expected expected) {
        const uint32_t start = seam::now();
        board.animateFlips(screen);
        EXPECT_EQ(seam::now() - start, 400u);
        ASSERT_EQ(frames.size(), 10u);
        for (int f = 0; f < 10; ++f) {
            const Frame& frame = frames[f];
            EXPECT_EQ(frame.at, start + 40u * f);
            EXPECT_EQ(frame.label, FLIP_LABEL) << f;
            EXPECT_TRUE(frame.gridIntact) << f;
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    EXPECT_EQ(frame.cells[x][y], expected(f, x, y))
                        << "frame " << f << " cell " << x << "," << y;
                }
            }
        }
    }

    SDL_Surface* screen = nullptr;
    std::vector<Frame> frames;
};

TEST_F(BoardDrawingTest, DrawPaintsBoardAndEveryDiscAtItsCellWithoutFlipping) {
    Board board;
    board.setCell(0, 0, RED);
    board.setCell(7, 0, GREEN);
    board.setCell(0, 7, GREEN);
    board.setCell(7, 7, RED);
    board.setCell(5, 2, RED);

    board.draw(screen);

    EXPECT_TRUE(frames.empty()) << "draw leaves the flip to the caller";
    EXPECT_EQ(seam::now(), 0u);
    const Frame frame = capture(screen);
    EXPECT_EQ(seam::pictureAt(screen, 0, 0), BACKGROUND);
    EXPECT_EQ(seam::pictureAt(screen, 399, 399), BACKGROUND);
    EXPECT_TRUE(frame.gridIntact);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(frame.cells[x][y], steadyPicture(board.getCell(x, y))) << x << "," << y;
        }
    }
    // Spot checks against the opening position itself.
    EXPECT_EQ(frame.cells[3][3], disc(10));
    EXPECT_EQ(frame.cells[4][3], disc(1));
}

TEST_F(BoardDrawingTest, RedMoveTurnsTheGreenDiscThroughEveryPictureBackwards) {
    Board board;
    board.saveSnapshot();
    MoveList moves(RED, &board);
    ASSERT_TRUE(moves.hasMove(5, 4));
    moves.apply(5, 4);
    ASSERT_EQ(board.getCell(4, 4), RED);

    expectAnimation(board, [&](int f, int x, int y) {
        return x == 4 && y == 4 ? disc(10 - f) : steadyPicture(board.getCell(x, y));
    });
    EXPECT_EQ(seam::pictureAt(screen, layout::INDICATOR.x - 1, layout::INDICATOR.y - 1),
              BACKGROUND);
}

TEST_F(BoardDrawingTest, GreenMoveTurnsRedDiscsForwardAndTheNewDiscStaysGreen) {
    Board board;
    // Two red lines that green at (3, 3) closes, and two discs that stay put.
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            board.setCell(x, y, EMPTY);
        }
    }
    board.setCell(0, 0, GREEN);
    board.setCell(1, 1, RED);
    board.setCell(2, 2, RED);
    board.setCell(3, 0, GREEN);
    board.setCell(3, 1, RED);
    board.setCell(3, 2, RED);
    board.setCell(6, 6, RED);
    board.setCell(7, 0, GREEN);
    board.saveSnapshot();
    MoveList moves(GREEN, &board);
    ASSERT_TRUE(moves.hasMove(3, 3));
    moves.apply(3, 3);

    expectAnimation(board, [&](int f, int x, int y) {
        const bool turned = (x == y && (x == 1 || x == 2)) || (x == 3 && (y == 1 || y == 2));
        return turned ? disc(f + 1) : steadyPicture(board.getCell(x, y));  // 1, 2, ... 10
    });
}

TEST_F(BoardDrawingTest, AnimationKeepsItsPaceWhenNothingTurnsOrNoPictureLoads) {
    Board board;
    board.saveSnapshot();
    expectAnimation(board, [&](int, int x, int y) { return steadyPicture(board.getCell(x, y)); });

    // Every picture missing: nothing is drawn, but the frames and waits remain.
    frames.clear();
    seam::makeMissing();
    Board bare;
    bare.saveSnapshot();
    MoveList(RED, &bare).apply(5, 4);
    bare.draw(screen);
    const uint32_t start = seam::now();
    bare.animateFlips(screen);
    EXPECT_EQ(frames.size(), 10u);
    EXPECT_EQ(seam::now() - start, 400u);
    EXPECT_EQ(seam::pictureAt(screen, 200, 200), BACKGROUND) << "the last drawn board stays";
}

}  // namespace
