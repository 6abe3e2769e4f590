#include <gtest/gtest.h>

#include <cstdint>

#include "rules/Board.h"
#include "rules/MoveList.h"

namespace {

// Leaves of the game tree: a side without a move passes (one move), and a
// game where neither side can move is a leaf whatever depth remains.
uint64_t perft(Board& board, int32_t side, int depth, bool previousPassed) {
    if (depth == 0) {
        return 1;
    }
    MoveList moves(side, &board);
    if (moves.isEmpty()) {
        if (previousPassed) {
            return 1;
        }
        return perft(board, opponentOf(side), depth - 1, true);
    }
    uint64_t leaves = 0;
    for (const Move* m = moves.first(); m != nullptr; m = m->next) {
        moves.apply(m->x, m->y);
        leaves += perft(board, opponentOf(side), depth - 1, false);
        moves.undo(m->x, m->y);
    }
    return leaves;
}

TEST(Perft, MatchesThePublishedCountsToDepthEight) {
    const uint64_t expected[] = {4, 12, 56, 244, 1396, 8200, 55092, 390216};
    Board board;
    for (int depth = 1; depth <= 8; ++depth) {
        EXPECT_EQ(perft(board, RED, depth, false), expected[depth - 1]) << "depth " << depth;
    }
    const Board opening;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(board.getCell(x, y), opening.getCell(x, y));
        }
    }
}

}  // namespace
