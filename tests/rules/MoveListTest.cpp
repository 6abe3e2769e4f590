#include <gtest/gtest.h>

#include <string>

#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace {

// "x,y:ax,ay/d ax,ay/d" for each Move from first, joined by " | ".
std::string describe(const MoveList& list) {
    std::string out;
    for (const Move* m = list.first(); m != nullptr; m = m->next) {
        if (!out.empty()) {
            out += " | ";
        }
        out += std::to_string(m->x) + "," + std::to_string(m->y) + ":";
        for (const FlipLine* l = m->lines; l != nullptr; l = l->next) {
            if (l != m->lines) {
                out += " ";
            }
            out += std::to_string(l->anchorX) + "," + std::to_string(l->anchorY) + "/" +
                   std::to_string(l->direction);
        }
    }
    return out;
}

// Both directions of every link agree.
void expectWellLinked(const MoveList& list) {
    const Move* previous = nullptr;
    for (const Move* m = list.first(); m != nullptr; m = m->next) {
        EXPECT_EQ(m->prev, previous);
        ASSERT_NE(m->lines, nullptr);
        const FlipLine* previousLine = nullptr;
        for (const FlipLine* l = m->lines; l != nullptr; l = l->next) {
            EXPECT_EQ(l->prev, previousLine);
            previousLine = l;
        }
        previous = m;
    }
}

TEST(MoveList, OpeningMovesStandInDiscoveryOrderReversed) {
    Board board;
    MoveList red(RED, &board);
    EXPECT_EQ(describe(red), "4,5:4,3/3 | 2,3:4,3/0 | 3,2:3,4/2 | 5,4:3,4/1");
    expectWellLinked(red);
    MoveList green(GREEN, &board);
    EXPECT_EQ(describe(green), "4,2:4,4/2 | 2,4:4,4/0 | 3,5:3,3/3 | 5,3:3,3/1");
    expectWellLinked(green);
    EXPECT_EQ(red.getBoard(), &board);
    EXPECT_FALSE(red.isEmpty());
}

TEST(MoveList, ApplyAndUndoAnOpeningMove) {
    Board board;
    const Board opening(board);
    MoveList red(RED, &board);
    red.apply(5, 4);
    EXPECT_EQ(board.getCell(4, 4), RED);
    EXPECT_EQ(board.getCell(5, 4), RED);
    int32_t r = -1;
    int32_t g = -1;
    red.counts(r, g);
    EXPECT_EQ(r, 4);
    EXPECT_EQ(g, 1);
    red.undo(5, 4);
    EXPECT_TRUE(sameCells(board, opening));
}

TEST(MoveList, OneMoveCarriesALinePerDirection) {
    Board board;
    {
        MoveList red(RED, &board);
        red.apply(5, 4);
    }
    {
        MoveList green(GREEN, &board);
        green.apply(5, 3);
    }
    const Board before(board);
    MoveList red(RED, &board);
    EXPECT_EQ(describe(red),
              "6,2:4,4/5 | 2,2:4,4/4 | 4,2:4,4/2 | 5,2:5,4/2 3,4/5 | 3,2:5,4/4 3,4/2");
    expectWellLinked(red);
    red.apply(5, 2);
    EXPECT_EQ(board.getCell(5, 2), RED);
    EXPECT_EQ(board.getCell(5, 3), RED);
    EXPECT_EQ(board.getCell(4, 3), RED);
    red.undo(5, 2);
    EXPECT_TRUE(sameCells(board, before));

    red.apply(3, 2);  // turns (4,3) on one line and (3,3) on the other
    EXPECT_EQ(board.getCell(4, 3), RED);
    EXPECT_EQ(board.getCell(3, 3), RED);
    red.undo(3, 2);
    EXPECT_TRUE(sameCells(board, before));
}

TEST(MoveList, RefusesCellsItDoesNotHold) {
    Board board;
    const Board opening(board);
    MoveList red(RED, &board);
    EXPECT_FALSE(red.hasMove(3, 3));  // occupied
    EXPECT_FALSE(red.hasMove(0, 0));  // closes nothing
    EXPECT_FALSE(red.hasMove(-1, -1));
    EXPECT_EQ(red.findMove(0, 0), nullptr);
    for (const auto& cell : {std::pair{3, 3}, std::pair{0, 0}, std::pair{-1, -1}}) {
        testing::internal::CaptureStdout();
        red.apply(cell.first, cell.second);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: Move invalid!\n");
        testing::internal::CaptureStdout();
        red.undo(cell.first, cell.second);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: Move invalid!\n");
        EXPECT_TRUE(sameCells(board, opening));
    }
}

TEST(MoveList, RunsThatReachTheEdgeOrTheMoverGiveNothing) {
    Board board;
    clear(board);
    // Row 0: R G G G G G G G -- the run reaches the right edge.
    board.setCell(0, 0, RED);
    for (int x = 1; x < 8; ++x) {
        board.setCell(x, 0, GREEN);
    }
    // Row 4: R G G R . -- closed at both ends by red, nothing to place.
    board.setCell(0, 4, RED);
    board.setCell(1, 4, GREEN);
    board.setCell(2, 4, GREEN);
    board.setCell(3, 4, RED);
    MoveList red(RED, &board);
    EXPECT_TRUE(red.isEmpty());
    MoveList green(GREEN, &board);
    const Move* closing = green.findMove(4, 4);
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(closing->lines->anchorX, 2);
    EXPECT_EQ(closing->lines->direction, 1);

    // An anchor one step from the edge never looks toward it, even over a neighbour.
    clear(board);
    board.setCell(6, 3, RED);
    board.setCell(7, 3, GREEN);
    MoveList edge(RED, &board);
    EXPECT_TRUE(edge.isEmpty());
}

TEST(MoveList, SidesWithoutMovesGiveEmptyLists) {
    Board board;
    clear(board);
    board.setCell(2, 2, GREEN);
    MoveList noDiscs(RED, &board);
    EXPECT_TRUE(noDiscs.isEmpty());
    EXPECT_EQ(noDiscs.first(), nullptr);

    board.setCell(0, 0, RED);
    board.setCell(1, 1, GREEN);  // red's diagonal run over two greens ends at (3,3)
    MoveList red(RED, &board);
    EXPECT_EQ(describe(red), "3,3:0,0/7");
    MoveList green(GREEN, &board);  // green cannot close anything
    EXPECT_TRUE(green.isEmpty());
}

TEST(MoveList, AddMoveGrowsAtTheFront) {
    Board board;
    clear(board);
    MoveList list(RED, &board);
    ASSERT_TRUE(list.isEmpty());
    list.addMove(2, 2, 0, 0, 7);
    list.addMove(5, 5, 7, 7, 4);
    list.addMove(2, 2, 2, 0, 3);
    EXPECT_EQ(describe(list), "5,5:7,7/4 | 2,2:2,0/3 0,0/7");
    expectWellLinked(list);
    int32_t x = -1;
    int32_t y = -1;
    list.first()->cell(x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 5);
}

}  // namespace
