// The computer's choice checked against the plain search of
// support/ReferenceSearch.h. Whatever the real search prunes, orders or
// remembers, a shortcut that is not exact shows up as a different move or
// root score; ties matter most, so two of the tables are tiny or all zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TableFile.h"
#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/ReferenceSearch.h"
#include "support/TestBoards.h"

namespace {

using namespace reference;

struct Case {
    Grid grid;
    int toMove;
};

// Positions from seeded random games, every one with the side to move able to move.
std::vector<Case> seededPositions(uint32_t seed, int count) {
    std::mt19937 random(seed);
    std::vector<Case> cases;
    Board board;
    while (static_cast<int>(cases.size()) < count) {
        int32_t side;
        if (randomPosition(board, random, static_cast<int>(random() % 58), side)) {
            Case c{{}, side};
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    c.grid.c[x][y] = board.getCell(x, y);
                }
            }
            cases.push_back(c);
        }
    }
    return cases;
}

std::string tableText(const int values[8][8]) {
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            text += std::to_string(values[x][y]) + (x < 7 ? "\t" : "\r\n");
        }
    }
    return text;
}

void compare(int depth, uint32_t seed, int count) {
    // The shipped table, two random ones (small ranges make ties common) and
    // an all-zero one (every horizon a tie).
    std::mt19937 random(seed ^ 0x5eed);
    int tables[4][8][8] = {};
    PositionValues shipped;
    shipped.loadValues(PositionValues::SHIPPED_TABLE);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            tables[0][x][y] = shipped.at(x, y);
            tables[1][x][y] = static_cast<int>(random() % 601) - 300;
            tables[2][x][y] = static_cast<int>(random() % 3) - 1;
        }
    }
    const std::string paths[4] = {PositionValues::SHIPPED_TABLE, writeTable(tableText(tables[1])),
                                  writeTable(tableText(tables[2])),
                                  writeTable(tableText(tables[3]))};
    const std::vector<Case> cases = seededPositions(seed, count);
    Board board;
    int index = 0;
    for (const Case& c : cases) {
        for (int difficulty = 0; difficulty < 3; ++difficulty) {
            const int table = (index + difficulty) % 4;
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    board.setCell(x, y, c.grid.c[x][y]);
                }
            }
            Reference reference{{}, depth, difficulty, c.toMove, 3 - c.toMove};
            std::copy(&tables[table][0][0], &tables[table][0][0] + 64, &reference.values[0][0]);
            int expectedScore;
            const auto [ex, ey] = reference.choose(c.grid, expectedScore);

            ComputerPlayer player(paths[table], depth, difficulty, c.toMove);
            MoveList moves(c.toMove, &board);
            player.play(&moves);
            Grid after = c.grid;
            flips(after, c.toMove, ex, ey, true);
            for (int x = 0; x < 8; ++x) {
                for (int y = 0; y < 8; ++y) {
                    ASSERT_EQ(board.getCell(x, y), after.c[x][y])
                        << "position " << index << " difficulty " << difficulty
                        << ": expected the move (" << ex << "," << ey << ")";
                }
            }
            if (reference.nodes > 0) {
                for (int x = 0; x < 8; ++x) {
                    for (int y = 0; y < 8; ++y) {
                        board.setCell(x, y, c.grid.c[x][y]);
                    }
                }
                MoveList again(c.toMove, &board);
                int32_t x;
                int32_t y;
                ASSERT_EQ(player.searchMax(&again, -LIMIT, LIMIT, 0, x, y), expectedScore);
            }
        }
        ++index;
    }
}

// The sanitizer build checks fewer positions: it is there for memory faults,
// and the full comparison runs in the plain build.
#ifdef VANTRIXO_SANITIZED_BUILD
constexpr int SHALLOW = 100;
constexpr int DEEP = 8;
constexpr int DEEPEST = 2;
#else
constexpr int SHALLOW = 300;
constexpr int DEEP = 40;
constexpr int DEEPEST = 8;
#endif

TEST(ReferenceSearch, SameMovesAndScoresAtDepthThree) {
    compare(3, 31, SHALLOW);
}

TEST(ReferenceSearch, SameMovesAndScoresAtDepthFiveFirstHalf) {
    compare(5, 51, DEEP);
}

TEST(ReferenceSearch, SameMovesAndScoresAtDepthFiveSecondHalf) {
    compare(5, 52, DEEP);
}

TEST(ReferenceSearch, SameMovesAndScoresAtDepthSeven) {
    compare(7, 71, DEEPEST);
}

}  // namespace
