#include "ai/SearchEngine.h"

#include "ai/ComputerPlayer.h"
#include "rules/DiscSets.h"

namespace {

// Most positions have a move in the first direction tried, so asking one
// direction at a time is cheaper than listing them all.
bool canMove(uint64_t own, uint64_t opposing) {
    const uint64_t empty = ~(own | opposing);
    if (DiscSets::movesToward<0>(own, opposing, empty) != 0 ||
        DiscSets::movesToward<1>(own, opposing, empty) != 0) {
        return true;
    }
    if (DiscSets::movesToward<2>(own, opposing, empty) != 0 ||
        DiscSets::movesToward<3>(own, opposing, empty) != 0) {
        return true;
    }
    return (DiscSets::movesToward<4>(own, opposing, empty) |
            DiscSets::movesToward<5>(own, opposing, empty) |
            DiscSets::movesToward<6>(own, opposing, empty) |
            DiscSets::movesToward<7>(own, opposing, empty)) != 0;
}

// The moves of one position in list order, each with the discs it turns.
struct Moves {
    int32_t count = 0;
    uint8_t cell[64];
    uint64_t flips[64];
};

// The moves in the order the move lists discover them; a move found a
// second time only gains the discs of its new line. The list itself holds
// the moves newest first, so `cell` is read from its end.
void discover(uint64_t own, uint64_t opposing, Moves& moves) {
    uint64_t listed = 0;
    uint8_t slot[64];
    DiscSets::forEachLine(own, opposing, [&](int32_t, int32_t, int32_t target, uint64_t turned) {
        if ((listed >> target & 1) != 0) {
            moves.flips[slot[target]] |= turned;
            return;
        }
        listed |= uint64_t{1} << target;
        slot[target] = static_cast<uint8_t>(moves.count);
        moves.cell[moves.count] = static_cast<uint8_t>(target);
        moves.flips[moves.count] = turned;
        ++moves.count;
    });
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
    return static_cast<int32_t>(((discs & DiscSets::TOP_ROW) * DiscSets::TOP_ROW) >> 56);
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
        int32_t low = alpha;
        int32_t high = beta;
        replyWindow<MAXIMISING>(ply, i != moves.count - 1, best, low, high);
        const int32_t score =
            node<!MAXIMISING>(waiting & ~turned, mover | turned, low, high, ply + 1);
        if (giveUp) {
            return best;
        }
        if (weigh<MAXIMISING>(score, best, alpha, beta) == Verdict::CUT) {
            return score;
        }
    }
    return best;
}
