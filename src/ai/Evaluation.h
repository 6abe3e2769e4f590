#pragma once

#include <algorithm>

#include "rules/Difficulty.h"
#include "rules/DiscSets.h"

// The computer's static value of a position on disc sets, from its point of
// view: the table sum and, on hard, the border term. The search carries what
// a value is made of from position to position (a Standing) and updates it
// by the move alone, and bounds what a move can reach without playing it.
class Evaluation {
  public:
    static constexpr int32_t WIN_SCORE = 3276700;
    // What a border line held by one side alone counts per disc, on hard.
    static constexpr int32_t EDGE_WEIGHT = 1000;

    // What a position is valued from: the table sum, the computer's lead in
    // discs, and on hard the border term and the border lines of both sides
    // (a byte per line).
    struct Standing {
        int64_t sum;
        int32_t edge;
        uint32_t computerLines;
        uint32_t opponentLines;
        int32_t lead;
    };

    Evaluation(const int32_t (&values)[8][8], int32_t difficulty) : difficulty(difficulty) {
        for (int32_t x = 0; x < 8; ++x) {
            for (int32_t discs = 0; discs < 256; ++discs) {
                for (int32_t y = 0; y < 8; ++y) {
                    if ((discs >> y & 1) != 0) {
                        columnValue[x][discs] += values[x][y];
                        positiveColumnValue[x][discs] += std::max(values[x][y], 0);
                    }
                }
            }
            for (int32_t y = 0; y < 8; ++y) {
                cellValue[8 * x + y] = values[x][y];
            }
        }
    }

    // A finished game, by the discs each side has: won, drawn or lost
    // whatever the margin.
    static int32_t finalScore(int32_t mine, int32_t others) {
        return mine > others ? WIN_SCORE : mine < others ? -WIN_SCORE : 0;
    }
    Standing standingOf(uint64_t computer, uint64_t opponent) const {
        Standing standing{sumOf(columnValue, computer) - sumOf(columnValue, opponent), 0, 0, 0,
                          DiscSets::count(computer) - DiscSets::count(opponent)};
        if (difficulty == HARD) {
            standing.computerLines = borderLines(computer);
            standing.opponentLines = borderLines(opponent);
            standing.edge = edgeOfLines(standing.computerLines, standing.opponentLines);
        }
        return standing;
    }
    // A position's value while its side to move can move (the edge is 0
    // but on hard), and once it cannot.
    static int32_t tableValue(const Standing& standing) {
        return clamped(standing.sum + standing.edge);
    }
    static int32_t countedValue(const Standing& standing) { return finalScore(standing.lead, 0); }
    int32_t evaluate(uint64_t computer, uint64_t opponent) const {
        return tableValue(standingOf(computer, opponent));
    }
    int32_t edgeTerm(uint64_t computer, uint64_t opponent) const {
        return edgeOfLines(borderLines(computer), borderLines(opponent));
    }
    int64_t valueOf(int32_t cell) const { return cellValue[cell]; }

    // The standing after the computer (MAXIMISING) or its opponent plays
    // `cell` turning `flips`: the cell played and twice each disc turned
    // change the sum, and the border lines change only where the move
    // reaches them.
    template <bool MAXIMISING>
    [[gnu::always_inline]] Standing after(const Standing& before, int32_t cell,
                                          uint64_t flips) const {
        const uint64_t turned = flips | uint64_t{1} << cell;
        const int64_t change = cellValue[cell] + 2 * sumOf(columnValue, flips);
        const int32_t gained = 1 + 2 * DiscSets::count(flips);
        Standing next{MAXIMISING ? before.sum + change : before.sum - change, before.edge,
                      before.computerLines, before.opponentLines,
                      MAXIMISING ? before.lead + gained : before.lead - gained};
        if (difficulty == HARD && (turned & BORDER) != 0) {
            const uint32_t reached = borderLines(turned);
            next.computerLines =
                MAXIMISING ? next.computerLines | reached : next.computerLines & ~reached;
            next.opponentLines =
                MAXIMISING ? next.opponentLines & ~reached : next.opponentLines | reached;
            next.edge = edgeOfLines(next.computerLines, next.opponentLines);
        }
        return next;
    }

    // An optimistic bound for the side moving (the computer, MAXIMISING, or
    // its opponent) on the leaf after a move to one of `placedCells`, worth
    // at most `placed`, that turns some of the discs `reachable`: the table
    // sum takes every reachable disc of positive value as turned, the border
    // term takes them all and the cells as taken, the worst for the side
    // losing them on every line, and so does the disc count, which is left
    // out when the leaf's side is known to have a move (`answered`).
    template <bool MAXIMISING>
    [[gnu::always_inline]] int32_t boundAfter(const Standing& before, int64_t placed,
                                              uint64_t placedCells, uint64_t reachable,
                                              bool answered) const {
        const int64_t most = placed + 2 * sumOf(positiveColumnValue, reachable);
        int64_t sum = MAXIMISING ? before.sum + most : before.sum - most;
        const uint64_t touched = placedCells | reachable;
        if (difficulty == HARD) {
            const uint32_t reached = (touched & BORDER) != 0 ? borderLines(touched) : 0;
            sum +=
                reached == 0 ? before.edge
                : MAXIMISING
                    ? edgeOfLines(before.computerLines | reached, before.opponentLines & ~reached)
                    : edgeOfLines(before.computerLines & ~reached, before.opponentLines | reached);
        }
        if (answered) {
            return clamped(sum);
        }
        const int32_t gained = 1 + 2 * DiscSets::count(reachable);
        const int32_t counted =
            finalScore(MAXIMISING ? before.lead + gained : before.lead - gained, 0);
        return MAXIMISING ? std::max(clamped(sum), counted) : std::min(clamped(sum), counted);
    }

  private:
    static constexpr uint64_t BORDER =
        DiscSets::TOP_ROW | DiscSets::BOTTOM_ROW | 0xFF | 0xFFULL << 56;

    // An evaluation stays strictly between a lost and a won game, so a real
    // win always beats any table sum and the root always has a best move,
    // however wild the table file is.
    static int32_t clamped(int64_t sum) {
        return static_cast<int32_t>(std::clamp<int64_t>(sum, 1 - WIN_SCORE, WIN_SCORE - 1));
    }

    // The sum over the columns of a table of column values, a byte of discs
    // each.
    static int64_t sumOf(const int64_t (&columns)[8][256], uint64_t discs) {
        int64_t sum = 0;
        for (int32_t x = 0; x < 8; ++x) {
            sum += columns[x][discs >> (8 * x) & 0xFF];
        }
        return sum;
    }

    // The four border lines of a disc set, one per byte: the left and right
    // columns as they lie, and the top and bottom rows gathered by a multiply
    // that moves bit 8·x of the row to bit 56 + x without any two bits meeting.
    static uint32_t borderLines(uint64_t discs) {
        constexpr uint64_t GATHER = 0x0102040810204080ULL;
        const uint64_t top = ((discs & DiscSets::TOP_ROW) * GATHER) >> 56;
        const uint64_t bottom = ((discs >> 7 & DiscSets::TOP_ROW) * GATHER) >> 56;
        return static_cast<uint32_t>((discs & 0xFF) | (discs >> 56) << 8 | top << 16 |
                                     bottom << 24);
    }

    // Each border line held by one side only counts EDGE_WEIGHT per disc for
    // that side; a corner counts on both of its lines. Summed over the four
    // lines at once, a byte each: a line with discs of both sides, or none,
    // adds nothing.
    [[gnu::always_inline]] int32_t edgeOfLines(uint32_t computerLines,
                                               uint32_t opponentLines) const {
        // Both sides' lines in one word, the computer's in the low half: the
        // number of discs in each byte, 0xFF in each byte whose count is 0,
        // the counts of each side's lines held alone, then each half's sum.
        uint64_t counts = computerLines | uint64_t{opponentLines} << 32;
        counts -= counts >> 1 & 0x5555555555555555ULL;
        counts = (counts & 0x3333333333333333ULL) + (counts >> 2 & 0x3333333333333333ULL);
        counts = (counts + (counts >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        const uint64_t empty =
            ((~(counts + 0x7F7F7F7F7F7F7F7FULL) & 0x8080808080808080ULL) >> 7) * 0xFFU;
        const uint64_t sums = (counts & (empty >> 32 | empty << 32)) * 0x01010101U;
        return EDGE_WEIGHT *
               (static_cast<int32_t>(sums >> 24 & 0xFF) - static_cast<int32_t>(sums >> 56));
    }

    // Table sum of one column's eight cells for each byte of discs (summed
    // in 64 bits, so no table can overflow), and the same counting only the
    // cells of positive value.
    int64_t columnValue[8][256] = {};
    int64_t positiveColumnValue[8][256] = {};
    int64_t cellValue[64] = {};
    int32_t difficulty;
};
