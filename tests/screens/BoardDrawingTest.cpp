#include <gtest/gtest.h>

#include <string>

#include "SdlSeam.h"
#include "rules/Board.h"
#include "rules/MoveList.h"

namespace {

const std::string BACKGROUND = "game/tabuleiro.png";
const std::string FLIP_LABEL = "game/flip.png";

std::string disc(int picture) {
    return "bolinha/" + std::to_string(picture) + ".png";
}

std::string steadyPicture(int32_t value) {
    return value == RED ? disc(1) : value == GREEN ? disc(10) : BACKGROUND;
}

class BoardDrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seam::reset();
        screen = seam::makeScreen();
        ASSERT_NE(screen, nullptr);
    }
    void TearDown() override { SDL_FreeSurface(screen); }

    // Every disc (or the bare board) of `frame` at cell (x, y): checked at the
    // disc's first and last pixel, and the grid pixels around it stay board.
    void expectCell(const seam::Pixels& frame, int x, int y, const std::string& picture,
                    const std::string& where) {
        const int left = 41 + 40 * x;
        const int top = 41 + 40 * y;
        EXPECT_EQ(seam::pictureAt(frame, left, top), picture) << where << " cell " << x << "," << y;
        EXPECT_EQ(seam::pictureAt(frame, left + 37, top + 37), picture)
            << where << " cell " << x << "," << y;
        EXPECT_EQ(seam::pictureAt(frame, left - 1, top - 1), BACKGROUND)
            << where << " grid before cell " << x << "," << y;
        EXPECT_EQ(seam::pictureAt(frame, left + 38, top + 38), BACKGROUND)
            << where << " grid after cell " << x << "," << y;
    }

    SDL_Surface* screen = nullptr;
};

TEST_F(BoardDrawingTest, DrawPaintsBoardAndEveryDiscAtItsCellWithoutFlipping) {
    Board board;
    board.setCell(0, 0, RED);
    board.setCell(7, 0, GREEN);
    board.setCell(0, 7, GREEN);
    board.setCell(7, 7, RED);
    board.setCell(5, 2, RED);

    board.draw(screen);

    EXPECT_EQ(seam::flipCount(), 0) << "draw leaves the flip to the caller";
    EXPECT_EQ(seam::totalDelay(), 0u);
    const seam::Pixels frame = seam::grab(screen);
    EXPECT_EQ(seam::pictureAt(frame, 0, 0), BACKGROUND);
    EXPECT_EQ(seam::pictureAt(frame, 399, 399), BACKGROUND);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            expectCell(frame, x, y, steadyPicture(board.getCell(x, y)), "draw");
        }
    }
    // Spot checks against the opening position itself.
    EXPECT_EQ(seam::pictureAt(frame, 41 + 40 * 3, 41 + 40 * 3), disc(10));
    EXPECT_EQ(seam::pictureAt(frame, 41 + 40 * 4, 41 + 40 * 3), disc(1));
}

TEST_F(BoardDrawingTest, RedMoveTurnsTheGreenDiscThroughEveryPictureBackwards) {
    Board board;
    board.saveSnapshot();
    MoveList moves(RED, &board);
    ASSERT_TRUE(moves.hasMove(5, 4));
    moves.apply(5, 4);
    ASSERT_EQ(board.getCell(4, 4), RED);

    board.animateFlips(screen);

    ASSERT_EQ(seam::flipCount(), 10);
    for (int f = 0; f < 10; ++f) {
        const seam::Pixels& frame = seam::flips()[f];
        const std::string where = "frame " + std::to_string(f);
        EXPECT_EQ(seam::pictureAt(frame, 5, 10), FLIP_LABEL) << where;
        EXPECT_EQ(seam::pictureAt(frame, 4, 9), BACKGROUND) << where;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                std::string expected = steadyPicture(board.getCell(x, y));
                if (x == 4 && y == 4) {
                    expected = disc(10 - f);  // 10, 9, ... 1
                }
                expectCell(frame, x, y, expected, where);
            }
        }
    }
}

TEST_F(BoardDrawingTest, GreenMoveTurnsRedDiscsForwardAndTheNewDiscStaysGreen) {
    Board board;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            board.setCell(x, y, EMPTY);
        }
    }
    // Two red lines that green at (3, 3) closes, and two discs that stay put.
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

    board.animateFlips(screen);

    ASSERT_EQ(seam::flipCount(), 10);
    const int turned[4][2] = {{1, 1}, {2, 2}, {3, 1}, {3, 2}};
    for (int f = 0; f < 10; ++f) {
        const seam::Pixels& frame = seam::flips()[f];
        const std::string where = "frame " + std::to_string(f);
        for (const auto& cell : turned) {
            expectCell(frame, cell[0], cell[1], disc(f + 1), where);  // 1, 2, ... 10
        }
        expectCell(frame, 3, 3, disc(10), where);
        expectCell(frame, 0, 0, disc(10), where);
        expectCell(frame, 7, 0, disc(10), where);
        expectCell(frame, 6, 6, disc(1), where);
        expectCell(frame, 5, 5, BACKGROUND, where);
    }
}

TEST_F(BoardDrawingTest, AnimationKeepsItsPaceWhenNothingTurns) {
    Board board;
    board.saveSnapshot();

    board.animateFlips(screen);

    // Ten frames, each flipped and then followed by its 40 ms wait.
    ASSERT_EQ(seam::events().size(), 20u);
    for (size_t i = 0; i < seam::events().size(); i += 2) {
        EXPECT_EQ(seam::events()[i].kind, seam::Kind::Flip) << i;
        EXPECT_EQ(seam::events()[i + 1].kind, seam::Kind::Delay) << i;
        EXPECT_EQ(seam::events()[i + 1].value, 40u) << i;
    }
    EXPECT_EQ(seam::totalDelay(), 400u);
    for (const seam::Pixels& frame : seam::flips()) {
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                expectCell(frame, x, y, steadyPicture(board.getCell(x, y)), "steady");
            }
        }
    }
}

TEST_F(BoardDrawingTest, MissingPicturesDrawNothingButTheAnimationStillRuns) {
    seam::setPicturesMissing(true);
    Board board;
    board.saveSnapshot();
    MoveList(RED, &board).apply(5, 4);

    board.draw(screen);
    board.animateFlips(screen);

    EXPECT_EQ(seam::flipCount(), 10);
    EXPECT_EQ(seam::totalDelay(), 400u);
    const seam::Pixels frame = seam::grab(screen);
    EXPECT_EQ(seam::pictureAt(frame, 200, 200), "");
    EXPECT_EQ(seam::pictureAt(frame, 5, 10), "");
}

}  // namespace
