#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "rules/Board.h"
#include "rules/DiscSets.h"
#include "rules/MoveList.h"
#include "rules/WideDiscSets.h"
#include "support/TestBoards.h"

namespace {

struct Grid {
    int32_t c[8][8];
    bool operator==(const Grid& o) const { return std::memcmp(c, o.c, sizeof c) == 0; }
};

Grid read(const Board& b) {
    Grid g;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            g.c[x][y] = b.getCell(x, y);
        }
    }
    return g;
}

int flipsOf(const Grid& g, int32_t side, int x, int y) {
    Grid scratch = g;
    return referenceFlips(scratch.c, side, x, y, false);
}

int countOf(const Grid& g, int32_t side) {
    int n = 0;
    for (const auto& column : g.c) {
        for (int32_t cell : column) {
            n += cell == side;
        }
    }
    return n;
}

TEST(SelfPlay, RandomGamesKeepApplyUndoAndCountsExact) {
    std::mt19937 random(20261207);
    // The cells in line with each cell, which bound what a move there can gain.
    for (int cell = 0; cell < 64; ++cell) {
        uint64_t lines = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int x = cell / 8 + dx, y = cell % 8 + dy;
                     (dx != 0 || dy != 0) && Board::isInside(x, y); x += dx, y += dy) {
                    lines |= uint64_t{1} << (8 * x + y);
                }
            }
        }
        ASSERT_EQ(DiscSets::linesThrough(cell), lines) << cell;
    }
    int positions = 0;
    for (int game = 0; game < 3000; ++game) {
        Board board;
        int32_t side = RED;
        int passes = 0;
        int discs = 4;
        while (passes < 2) {
            const Grid before = read(board);
            MoveList moves(side, &board);
            std::vector<const Move*> listed;
            for (const Move* m = moves.first(); m != nullptr; m = m->next) {
                listed.push_back(m);
            }
            // The list holds exactly the legal cells of the reference rules.
            int legal = 0;
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    const bool isLegal = flipsOf(before, side, x, y) > 0;
                    legal += isLegal;
                    ASSERT_EQ(moves.hasMove(x, y), isLegal) << x << "," << y;
                }
            }
            ASSERT_EQ(static_cast<int>(listed.size()), legal);
            // The search's bit sets agree with the reference as well: the
            // moves, every disc some move turns, every disc closing a line.
            const uint64_t own = board.discsOf(side);
            const uint64_t opposing = board.discsOf(opponentOf(side));
            uint64_t legalCells = 0;
            uint64_t turnable = 0;
            uint64_t closing = 0;
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    for (int dx = -1; dx <= 1 && before.c[x][y] == EMPTY; ++dx) {
                        for (int dy = -1; dy <= 1; ++dy) {
                            uint64_t run = 0;
                            int cx = x + dx;
                            int cy = y + dy;
                            for (; Board::isInside(cx, cy) && before.c[cx][cy] == opponentOf(side);
                                 cx += dx, cy += dy) {
                                run |= uint64_t{1} << (8 * cx + cy);
                            }
                            if (run != 0 && Board::isInside(cx, cy) && before.c[cx][cy] == side) {
                                legalCells |= uint64_t{1} << (8 * x + y);
                                turnable |= run;
                                closing |= uint64_t{1} << (8 * cx + cy);
                            }
                        }
                    }
                }
            }
            ASSERT_EQ(DiscSets::movesOf(own, opposing), legalCells);
            ASSERT_EQ(DiscSets::canMove(own, opposing), legal > 0);
            ASSERT_EQ(DiscSets::count(legalCells), legal);
            ASSERT_EQ(DiscSets::count(own), countOf(before, side));
            ASSERT_EQ(DiscSets::turnable(own, opposing), turnable);
            ASSERT_EQ(DiscSets::anchorsOf(own, opposing), closing);
            if constexpr (WideDiscSets::BUILT) {
                if (WideDiscSets::available()) {
                    ASSERT_EQ(WideDiscSets::movesOf(own, opposing), legalCells);
                    ASSERT_EQ(WideDiscSets::turnable(own, opposing), turnable);
                    ASSERT_EQ(WideDiscSets::anchorsOf(own, opposing), closing);
                    for (uint64_t rest = legalCells; rest != 0; rest &= rest - 1) {
                        ASSERT_EQ(WideDiscSets::flipsOf(__builtin_ctzll(rest), own, opposing),
                                  DiscSets::flipsOf(__builtin_ctzll(rest), own, opposing));
                    }
                }
            }
            // A side without a move passes; the game ends when neither has one.
            const bool otherCanMove = !MoveList(opponentOf(side), &board).isEmpty();
            ASSERT_EQ(MoveList::sideToMove(board, side), !listed.empty() ? side
                                                         : otherCanMove  ? opponentOf(side)
                                                                         : NO_SIDE);
            if (listed.empty()) {
                ++passes;
                side = opponentOf(side);
                continue;
            }
            passes = 0;
            // Every listed move turns exactly the reference's discs and undoes exactly.
            for (const Move* m : listed) {
                moves.apply(m->x, m->y);
                int32_t red = 0;
                int32_t green = 0;
                moves.counts(red, green);
                const int32_t mine = side == RED ? red : green;
                const int32_t theirs = side == RED ? green : red;
                const Grid after = read(board);
                int changed = 0;
                for (int x = 0; x < 8; ++x) {
                    for (int y = 0; y < 8; ++y) {
                        changed += after.c[x][y] != before.c[x][y];
                    }
                }
                const int flips = flipsOf(before, side, m->x, m->y);
                const int32_t cell = 8 * m->x + m->y;
                ASSERT_EQ(DiscSets::flipsOf(cell, own, opposing) | uint64_t{1} << cell,
                          board.discsOf(side) & ~own);
                ASSERT_EQ(changed, flips + 1);
                ASSERT_EQ(mine, countOf(before, side) + flips + 1);
                ASSERT_EQ(theirs, countOf(before, opponentOf(side)) - flips);
                moves.undo(m->x, m->y);
                ASSERT_TRUE(read(board) == before);
                ++positions;
            }
            const Move* chosen = listed[random() % listed.size()];
            moves.apply(chosen->x, chosen->y);
            ++discs;
            side = opponentOf(side);
        }
        board.recount();
        ASSERT_EQ(board.redCount() + board.greenCount(), discs);
    }
    EXPECT_GT(positions, 500000);
}

}  // namespace
