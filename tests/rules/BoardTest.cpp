#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include <SDL.h>

#include "rules/Board.h"

namespace {

TEST(Board, OpeningPositionHoldsFourDiscs) {
    Board board;
    int discs = 0;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            discs += board.getCell(x, y) != EMPTY;
        }
    }
    EXPECT_EQ(discs, 4);
    EXPECT_EQ(board.getCell(3, 3), GREEN);
    EXPECT_EQ(board.getCell(4, 4), GREEN);
    EXPECT_EQ(board.getCell(3, 4), RED);
    EXPECT_EQ(board.getCell(4, 3), RED);
    // Counts are only true after recount; they start at zero.
    EXPECT_EQ(board.redCount(), 0);
    EXPECT_EQ(board.greenCount(), 0);
    board.recount();
    EXPECT_EQ(board.redCount(), 2);
    EXPECT_EQ(board.greenCount(), 2);
}

TEST(Board, OffBoardPairsReadEmptyAndIgnoreWrites) {
    Board board;
    board.saveSnapshot();
    const int pairs[][2] = {{8, 0}, {0, 8}, {-1, 3}, {3, -1}, {INT_MIN, 0}, {0, INT_MAX}};
    for (const auto& p : pairs) {
        EXPECT_EQ(board.getCell(p[0], p[1]), EMPTY);
        board.setCell(p[0], p[1], RED);
        EXPECT_EQ(board.getCell(p[0], p[1]), EMPTY);
    }
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(board.getPreviousCell(x, y), board.getCell(x, y));
        }
    }
    board.recount();
    EXPECT_EQ(board.redCount(), 2);

    EXPECT_TRUE(Board::isInside(0, 0));
    EXPECT_TRUE(Board::isInside(7, 7));
    EXPECT_FALSE(Board::isInside(8, 7));
    EXPECT_FALSE(Board::isInside(7, 8));
    EXPECT_FALSE(Board::isInside(-1, 0));
}

TEST(Board, CountsFollowRecountNotSetCell) {
    Board board;
    board.recount();
    board.setCell(0, 0, RED);
    board.setCell(7, 7, GREEN);
    board.setCell(7, 6, GREEN);
    EXPECT_EQ(board.redCount(), 2);
    board.recount();
    EXPECT_EQ(board.redCount(), 3);
    EXPECT_EQ(board.greenCount(), 4);
    board.setCell(0, 0, 7);  // a value that is neither side is not counted
    board.recount();
    EXPECT_EQ(board.redCount(), 2);
}

TEST(Board, SnapshotKeepsTheOldCells) {
    Board board;
    board.saveSnapshot();
    board.setCell(2, 3, RED);
    board.setCell(3, 3, RED);
    EXPECT_EQ(board.getCell(2, 3), RED);
    EXPECT_EQ(board.getPreviousCell(2, 3), EMPTY);
    EXPECT_EQ(board.getPreviousCell(3, 3), GREEN);
    board.saveSnapshot();
    EXPECT_EQ(board.getPreviousCell(3, 3), RED);
}

TEST(Board, CopyCarriesCellsOnly) {
    Board source;
    source.setCell(0, 7, RED);
    {
        Board copy(source);
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                EXPECT_EQ(copy.getCell(x, y), source.getCell(x, y));
            }
        }
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(copy.frame(i), nullptr);
        }
        copy.setCell(0, 7, GREEN);
        copy.setCell(5, 5, GREEN);
        EXPECT_EQ(source.getCell(0, 7), RED);
        EXPECT_EQ(source.getCell(5, 5), EMPTY);
    }
    // The source's pictures (when present) survive the copy's destruction.
    for (int i = 0; i < 10; ++i) {
        if (source.frame(i) != nullptr) {
            EXPECT_GT(source.frame(i)->w, 0);
        }
    }
}

TEST(Board, MissingPicturesLeaveNullsAndTheBoardStillWorks) {
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    char dir[] = "/tmp/vantrixo-nopics-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    {
        Board board;
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(board.frame(i), nullptr);
        }
        board.setCell(2, 3, RED);
        board.recount();
        EXPECT_EQ(board.redCount(), 3);
    }
    ASSERT_EQ(chdir(old), 0);
    rmdir(dir);
}

}  // namespace
