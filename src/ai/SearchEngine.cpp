#include "ai/SearchEngine.h"

#include <type_traits>

#include "ai/ComputerPlayer.h"

namespace {

constexpr uint64_t TOP_ROW = 0x0101010101010101ULL;
constexpr uint64_t BOTTOM_ROW = TOP_ROW << 7;

// The directions from an anchor toward the move cell, in the order the move
// lists try them: left, right, down, up, up-left, up-right, down-right,
// down-left. With bit 8·x + y, a step is 8·dx + dy.
constexpr int32_t DX[8] = {-1, 1, 0, 0, -1, 1, 1, -1};
constexpr int32_t DY[8] = {0, 0, 1, -1, -1, -1, 1, 1};

template <int32_t STEP>
constexpr uint64_t shifted(uint64_t cells) {
    return STEP > 0 ? cells << STEP : cells >> -STEP;
}

// The cells a shift by 8·dx + dy may land on: a step down from the bottom row
// would wrap to the top of the next column, a step up from the top row to the
// bottom of the previous one; leaving by a side shifts the bit out of the word.
constexpr uint64_t landing(int32_t dy) {
    return dy == 1 ? ~TOP_ROW : dy == -1 ? ~BOTTOM_ROW : ~uint64_t{0};
}

// Empty cells that end a run of `opposing` discs leading away from a disc of
// `own` in direction D: the moves found along that direction.
template <int32_t D>
uint64_t movesToward(uint64_t own, uint64_t opposing, uint64_t empty) {
    constexpr int32_t STEP = 8 * DX[D] + DY[D];
    constexpr uint64_t LAND = landing(DY[D]);
    const uint64_t between = opposing & LAND;
    uint64_t run = shifted<STEP>(own) & between;
    run |= shifted<STEP>(run) & between;
    run |= shifted<STEP>(run) & between;
    run |= shifted<STEP>(run) & between;
    run |= shifted<STEP>(run) & between;
    run |= shifted<STEP>(run) & between;
    return shifted<STEP>(run) & empty & LAND;
}

// The discs of `own` from which direction D closes a line on an empty cell:
// the same runs grown backwards from the empty cells.
template <int32_t D>
uint64_t anchorsToward(uint64_t own, uint64_t opposing, uint64_t empty) {
    constexpr int32_t BACK = -(8 * DX[D] + DY[D]);
    constexpr uint64_t LAND = landing(-DY[D]);
    const uint64_t between = opposing & LAND;
    uint64_t run = shifted<BACK>(empty) & between;
    run |= shifted<BACK>(run) & between;
    run |= shifted<BACK>(run) & between;
    run |= shifted<BACK>(run) & between;
    run |= shifted<BACK>(run) & between;
    run |= shifted<BACK>(run) & between;
    return shifted<BACK>(run) & own & LAND;
}

// Most positions have a move in the first direction tried, so asking one
// direction at a time is cheaper than listing them all.
bool canMove(uint64_t own, uint64_t opposing) {
    const uint64_t empty = ~(own | opposing);
    if (movesToward<0>(own, opposing, empty) != 0 || movesToward<1>(own, opposing, empty) != 0) {
        return true;
    }
    if (movesToward<2>(own, opposing, empty) != 0 || movesToward<3>(own, opposing, empty) != 0) {
        return true;
    }
    return (movesToward<4>(own, opposing, empty) | movesToward<5>(own, opposing, empty) |
            movesToward<6>(own, opposing, empty) | movesToward<7>(own, opposing, empty)) != 0;
}

// The moves of one position in list order, each with the discs it turns.
struct Moves {
    int32_t count = 0;
    uint8_t cell[64];
    uint64_t flips[64];
};

// Discovers moves as the move lists do: anchors by rising bit (column by
// column, top to bottom), each anchor's directions in order; a move found a
// second time only gains the discs of its new line. The list itself holds
// the moves newest first, so `cell` is read from its end.
void discover(uint64_t own, uint64_t opposing, Moves& moves) {
    const uint64_t empty = ~(own | opposing);
    const uint64_t toward[8] = {
        anchorsToward<0>(own, opposing, empty), anchorsToward<1>(own, opposing, empty),
        anchorsToward<2>(own, opposing, empty), anchorsToward<3>(own, opposing, empty),
        anchorsToward<4>(own, opposing, empty), anchorsToward<5>(own, opposing, empty),
        anchorsToward<6>(own, opposing, empty), anchorsToward<7>(own, opposing, empty)};
    const uint64_t anchors = toward[0] | toward[1] | toward[2] | toward[3] | toward[4] | toward[5] |
                             toward[6] | toward[7];
    uint64_t listed = 0;
    uint8_t slot[64];
    for (uint64_t rest = anchors; rest != 0; rest &= rest - 1) {
        const int32_t anchor = __builtin_ctzll(rest);
        const auto line = [&](auto direction) {
            constexpr int32_t D = decltype(direction)::value;
            constexpr int32_t STEP = 8 * DX[D] + DY[D];
            if ((toward[D] >> anchor & 1) == 0) {
                return;
            }
            // The anchor is known to close a line, so the walk stays on the board.
            int32_t target = anchor + STEP;
            uint64_t turned = 0;
            while ((opposing >> target & 1) != 0) {
                turned |= uint64_t{1} << target;
                target += STEP;
            }
            if ((listed >> target & 1) != 0) {
                moves.flips[slot[target]] |= turned;
                return;
            }
            listed |= uint64_t{1} << target;
            slot[target] = static_cast<uint8_t>(moves.count);
            moves.cell[moves.count] = static_cast<uint8_t>(target);
            moves.flips[moves.count] = turned;
            ++moves.count;
        };
        line(std::integral_constant<int32_t, 0>{});
        line(std::integral_constant<int32_t, 1>{});
        line(std::integral_constant<int32_t, 2>{});
        line(std::integral_constant<int32_t, 3>{});
        line(std::integral_constant<int32_t, 4>{});
        line(std::integral_constant<int32_t, 5>{});
        line(std::integral_constant<int32_t, 6>{});
        line(std::integral_constant<int32_t, 7>{});
    }
}

int32_t finalScore(uint64_t computer, uint64_t opponent) {
    const int32_t mine = __builtin_popcountll(computer);
    const int32_t others = __builtin_popcountll(opponent);
    return mine > others   ? ComputerPlayer::WIN_SCORE
           : mine < others ? -ComputerPlayer::WIN_SCORE
                           : 0;
}

// Discs on a row: the row's cells sit one per byte, so multiplying by a one
// in every byte sums them into the top byte.
int32_t rowCount(uint64_t discs) {
    return static_cast<int32_t>(((discs & TOP_ROW) * TOP_ROW) >> 56);
}

// Discs on a column: one byte, counted by table.
struct ByteCounts {
    uint8_t of[256] = {};
    constexpr ByteCounts() {
        for (int32_t byte = 1; byte < 256; ++byte) {
            of[byte] = static_cast<uint8_t>(of[byte >> 1] + (byte & 1));
        }
    }
};
constexpr ByteCounts BYTE_COUNTS;

int32_t columnCount(uint64_t column) {
    return BYTE_COUNTS.of[column & 0xFF];
}

// An evaluation stays strictly between a lost and a won game, so a real win
// always beats any table sum and the root always has a best move, however
// wild the table file is.
constexpr int64_t EVALUATION_LIMIT = ComputerPlayer::WIN_SCORE - 1;

}  // namespace

SearchEngine::SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty,
                           int32_t edgeWeight)
    : horizon(int64_t{depth} + 1), difficulty(difficulty), edgeWeight(edgeWeight) {
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t discs = 0; discs < 256; ++discs) {
            for (int32_t y = 0; y < 8; ++y) {
                if ((discs >> y & 1) != 0) {
                    columnValue[x][discs] += values[x][y];
                }
            }
        }
    }
}

uint64_t SearchEngine::discsOf(const Board& board, int32_t value) {
    uint64_t discs = 0;
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            discs |= uint64_t{board.getCell(x, y) == value} << (8 * x + y);
        }
    }
    return discs;
}

int32_t SearchEngine::evaluate(uint64_t computer, uint64_t opponent) const {
    int64_t sum = 0;
    for (int32_t x = 0; x < 8; ++x) {
        sum +=
            columnValue[x][computer >> (8 * x) & 0xFF] - columnValue[x][opponent >> (8 * x) & 0xFF];
    }
    if (difficulty == 2) {
        sum += edgeTerm(computer, opponent);
    }
    if (sum > EVALUATION_LIMIT) {
        return static_cast<int32_t>(EVALUATION_LIMIT);
    }
    if (sum < -EVALUATION_LIMIT) {
        return static_cast<int32_t>(-EVALUATION_LIMIT);
    }
    return static_cast<int32_t>(sum);
}

// Each border line held by one side only counts edgeWeight per disc for that
// side; a corner counts on both of its lines. Summed without branches: a line
// with discs of both sides, or none, adds nothing either way.
int32_t SearchEngine::edgeTerm(uint64_t computer, uint64_t opponent) const {
    const int32_t own[4] = {columnCount(computer), columnCount(computer >> 56), rowCount(computer),
                            rowCount(computer >> 7)};
    const int32_t theirs[4] = {columnCount(opponent), columnCount(opponent >> 56),
                               rowCount(opponent), rowCount(opponent >> 7)};
    int32_t total = 0;
    for (int32_t line = 0; line < 4; ++line) {
        total += (theirs[line] == 0) * own[line] - (own[line] == 0) * theirs[line];
    }
    return edgeWeight * total;
}

template <bool MAXIMISING>
int32_t SearchEngine::search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta,
                             int32_t ply) {
    return MAXIMISING ? node<true>(computer, opponent, alpha, beta, ply)
                      : node<false>(opponent, computer, alpha, beta, ply);
}

template int32_t SearchEngine::search<true>(uint64_t, uint64_t, int32_t, int32_t, int32_t);
template int32_t SearchEngine::search<false>(uint64_t, uint64_t, int32_t, int32_t, int32_t);

// One node: `mover` holds the discs of the side to move, `waiting` the
// other's. The steps and comparisons are those of the search on move lists.
template <bool MAXIMISING>
int32_t SearchEngine::node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                           int32_t ply) {
    countNode();
    const uint64_t computer = MAXIMISING ? mover : waiting;
    const uint64_t opponent = MAXIMISING ? waiting : mover;
    if (ply == horizon) {
        // Only whether the side can move matters here, not its moves.
        return canMove(mover, waiting) ? evaluate(computer, opponent)
                                       : finalScore(computer, opponent);
    }
    Moves moves;
    discover(mover, waiting, moves);
    if (moves.count == 0) {
        return finalScore(computer, opponent);
    }
    int32_t best = MAXIMISING ? -ComputerPlayer::SCORE_LIMIT : ComputerPlayer::SCORE_LIMIT;
    for (int32_t i = moves.count - 1; i >= 0; --i) {
        const uint64_t turned = moves.flips[i] | uint64_t{1} << moves.cell[i];
        // As on the move lists: at the root, later replies are searched one
        // wider than the best so far, so a cut-off bound cannot pass for a tie.
        const bool widen = ply == 0 && i != moves.count - 1;
        const int32_t low = widen && MAXIMISING ? best - 1 : alpha;
        const int32_t high = widen && !MAXIMISING ? best + 1 : beta;
        const int32_t score =
            node<!MAXIMISING>(waiting & ~turned, mover | turned, low, high, ply + 1);
        if (giveUp) {
            return best;
        }
        if (MAXIMISING ? score >= best : score <= best) {
            best = score;
            if (MAXIMISING ? score >= beta : score <= alpha) {
                return score;
            }
            if (MAXIMISING && score > alpha) {
                alpha = score;
            }
            if (!MAXIMISING && score < beta) {
                beta = score;
            }
        }
    }
    return best;
}
