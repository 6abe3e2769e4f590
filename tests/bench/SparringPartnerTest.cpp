#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "bench/SparringPartner.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace {

// The partners play by rules of their own on disc sets: every move the
// game's move list offers, and no other, turning the same discs.
TEST(SparringPartner, MovesAndFlipsAgreeWithTheRules) {
    Board board;
    std::mt19937 random(7);
    int32_t checked = 0;
    for (int32_t trial = 0; trial < 200; ++trial) {
        int32_t side;
        if (!randomPosition(board, random, 20 + trial % 40, side)) {
            continue;
        }
        const uint64_t own = board.discsOf(side);
        const uint64_t other = board.discsOf(opponentOf(side));
        MoveList moves(side, &board);
        uint64_t listed = 0;
        for (const Move* m = moves.first(); m != nullptr; m = m->next) {
            listed |= 1ULL << (8 * m->x + m->y);
        }
        ASSERT_EQ(SparringPartner::legalMoves(own, other), listed) << "trial " << trial;
        for (uint64_t rest = listed; rest != 0; rest &= rest - 1) {
            const int32_t cell = __builtin_ctzll(rest);
            Board after(board);
            MoveList(side, &after).apply(cell / 8, cell % 8);
            EXPECT_EQ(own | SparringPartner::flips(cell, own, other) | 1ULL << cell,
                      after.discsOf(side))
                << "trial " << trial << ", cell " << cell;
        }
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

// Plain minimax over every line to the end, for the solve to agree with.
int32_t minimax(uint64_t own, uint64_t other, bool passed) {
    const uint64_t moves = SparringPartner::legalMoves(own, other);
    if (moves == 0) {
        return passed ? SparringPartner::finalDifference(own, other) : -minimax(other, own, true);
    }
    int32_t best = -65;
    for (uint64_t rest = moves; rest != 0; rest &= rest - 1) {
        const int32_t cell = __builtin_ctzll(rest);
        const uint64_t turned = SparringPartner::flips(cell, own, other) | 1ULL << cell;
        best = std::max(best, -minimax(other & ~turned, own | turned, false));
    }
    return best;
}

// The deep partner's endgame solve finds the exact final difference, and a
// move that reaches it.
TEST(SparringPartner, EndgameSolveIsExact) {
    Board board;
    std::mt19937 random(11);
    SparringPartner deep(SparringPartner::ROSTER[3], 1);
    for (int32_t trial = 0; trial < 30; ++trial) {
        int32_t side;
        if (!randomPosition(board, random, 53 + trial % 3, side)) {
            continue;
        }
        const uint64_t own = board.discsOf(side);
        const uint64_t other = board.discsOf(opponentOf(side));
        int32_t cell;
        const int32_t solved = deep.solve(own, other, cell);
        ASSERT_EQ(minimax(own, other, false), solved) << "trial " << trial;
        ASSERT_GE(cell, 0) << "trial " << trial;
        const uint64_t turned = SparringPartner::flips(cell, own, other) | 1ULL << cell;
        EXPECT_EQ(solved, -minimax(other & ~turned, own | turned, false)) << "trial " << trial;
    }
}

}  // namespace
