#include "SparringPartner.h"

#include <algorithm>

#include "rules/DiscSets.h"

namespace {

// Corners, the cells diagonal to them (X) and beside them on the border (C).
constexpr uint64_t CORNERS = 0x8100000000000081ULL;
constexpr uint64_t X_CELLS = 1ULL << 9 | 1ULL << 14 | 1ULL << 49 | 1ULL << 54;
constexpr uint64_t C_CELLS = 1ULL << 1 | 1ULL << 8 | 1ULL << 6 | 1ULL << 15 | 1ULL << 48 |
                             1ULL << 57 | 1ULL << 55 | 1ULL << 62;
constexpr int32_t CORNER_CELLS[4] = {0, 7, 56, 63};
constexpr int32_t X_OF[4] = {9, 14, 49, 54};
constexpr uint64_t C_OF[4] = {1ULL << 1 | 1ULL << 8, 1ULL << 6 | 1ULL << 15,
                              1ULL << 48 | 1ULL << 57, 1ULL << 55 | 1ULL << 62};

// Moves are tried corners first, cells next to a corner last: cheap
// ordering that lets alpha-beta cut early.
constexpr uint64_t ORDER[4] = {CORNERS, ~(CORNERS | X_CELLS | C_CELLS), C_CELLS, X_CELLS};

// A won game outweighs any evaluation; the disc margin still counts.
constexpr int32_t DECIDED = 100000;
constexpr int32_t INFINITE = 1 << 30;

int32_t count(uint64_t cells) {
    return __builtin_popcountll(cells);
}

template <int32_t CODE>
uint64_t besideToward(uint64_t cells) {
    constexpr int32_t STEP = DiscSets::stepOf(CODE);
    return DiscSets::shifted<STEP>(cells) & DiscSets::landing<STEP>();
}

// The cells next to any of `cells` in one of the eight directions.
uint64_t beside(uint64_t cells) {
    return besideToward<0>(cells) | besideToward<1>(cells) | besideToward<2>(cells) |
           besideToward<3>(cells) | besideToward<4>(cells) | besideToward<5>(cells) |
           besideToward<6>(cells) | besideToward<7>(cells);
}

// The moves of one position in the order they are tried. The discs each
// turns (its own cell included) are found when it is tried, unless the
// ordering needed them already.
struct Ordered {
    int32_t count = 0;
    bool known = false;
    int32_t cell[64];
    uint64_t turned[64];

    uint64_t turnedBy(int32_t i, uint64_t own, uint64_t opposing) const {
        return known ? turned[i] : SparringPartner::flips(cell[i], own, opposing) | 1ULL << cell[i];
    }
};

void byCellClass(uint64_t moves, Ordered& ordered) {
    for (const uint64_t group : ORDER) {
        for (uint64_t rest = moves & group; rest != 0; rest &= rest - 1) {
            ordered.cell[ordered.count++] = __builtin_ctzll(rest);
        }
    }
}

// Fewest replies first: the strongest ordering for an exact solve, worth
// its cost while many cells are empty.
void byReplies(uint64_t moves, uint64_t own, uint64_t opposing, Ordered& ordered) {
    Ordered listed;
    byCellClass(moves, listed);
    int32_t weight[64];
    int32_t order[64];
    for (int32_t i = 0; i < listed.count; ++i) {
        const uint64_t turned = listed.turnedBy(i, own, opposing);
        listed.turned[i] = turned;
        weight[i] = count(SparringPartner::legalMoves(opposing & ~turned, own | turned)) -
                    ((CORNERS >> listed.cell[i] & 1) != 0 ? 4 : 0);
        order[i] = i;
    }
    std::stable_sort(order, order + listed.count,
                     [&weight](int32_t a, int32_t b) { return weight[a] < weight[b]; });
    for (int32_t i = 0; i < listed.count; ++i) {
        ordered.cell[i] = listed.cell[order[i]];
        ordered.turned[i] = listed.turned[order[i]];
    }
    ordered.count = listed.count;
    ordered.known = true;
}

}  // namespace

uint64_t SparringPartner::legalMoves(uint64_t own, uint64_t opposing) {
    return DiscSets::movesOf(own, opposing);
}

uint64_t SparringPartner::flips(int32_t cell, uint64_t own, uint64_t opposing) {
    return DiscSets::flipsOf(cell, own, opposing);
}

int32_t SparringPartner::finalDifference(uint64_t own, uint64_t opposing) {
    const int32_t difference = count(own) - count(opposing);
    const int32_t empty = 64 - count(own | opposing);
    return difference > 0 ? difference + empty : difference < 0 ? difference - empty : 0;
}

SparringPartner::SparringPartner(const Kind& kind, uint32_t seed)
    : style(kind.style), depth(kind.depth), exactEmpties(kind.exactEmpties), random(seed) {}

int32_t SparringPartner::choose(uint64_t own, uint64_t opposing) {
    const uint64_t moves = legalMoves(own, opposing);
    if (moves == 0) {
        return -1;
    }
    Ordered ordered;
    byCellClass(moves, ordered);
    if (style == Style::RANDOM) {
        return ordered.cell[random() % static_cast<uint32_t>(ordered.count)];
    }
    if (style == Style::GREEDY) {
        int32_t most = 0;
        int32_t ties = 0;
        int32_t chosen = -1;
        for (int32_t i = 0; i < ordered.count; ++i) {
            const int32_t turned = count(ordered.turnedBy(i, own, opposing)) - 1;
            if (turned > most) {
                most = turned;
                ties = 0;
            }
            // Each of the equally greedy moves is kept with equal chance.
            if (turned == most && random() % static_cast<uint32_t>(++ties) == 0) {
                chosen = ordered.cell[i];
            }
        }
        return chosen;
    }
    if (64 - count(own | opposing) <= exactEmpties) {
        int32_t cell = -1;
        solve(own, opposing, cell);
        return cell;
    }
    int32_t best = -INFINITE;
    int32_t chosen = ordered.cell[0];
    for (int32_t i = 0; i < ordered.count; ++i) {
        const uint64_t turned = ordered.turnedBy(i, own, opposing);
        const int32_t score =
            -search<false>(opposing & ~turned, own | turned, depth - 1, -INFINITE, -best, false);
        if (score > best) {
            best = score;
            chosen = ordered.cell[i];
        }
    }
    return chosen;
}

// The exact solve scores the final difference alone; the search ranks any
// won game above every evaluation.
template <bool EXACT>
int32_t SparringPartner::search(uint64_t own, uint64_t opposing, int32_t plies, int32_t alpha,
                                int32_t beta, bool passed) {
    ++nodes;
    if (!EXACT && plies <= 0) {
        return evaluate(own, opposing);
    }
    const uint64_t moves = legalMoves(own, opposing);
    if (moves == 0) {
        if (!passed) {
            return -search<EXACT>(opposing, own, plies, -beta, -alpha, true);
        }
        const int32_t difference = finalDifference(own, opposing);
        return EXACT || difference == 0 ? difference
               : difference > 0         ? DECIDED + difference
                                        : -DECIDED + difference;
    }
    Ordered ordered;
    // Ordering by replies pays only while many cells are empty.
    if (EXACT && 64 - count(own | opposing) > 6) {
        byReplies(moves, own, opposing, ordered);
    } else {
        byCellClass(moves, ordered);
    }
    int32_t best = -INFINITE;
    for (int32_t i = 0; i < ordered.count; ++i) {
        const uint64_t turned = ordered.turnedBy(i, own, opposing);
        const int32_t score = -search<EXACT>(opposing & ~turned, own | turned, plies - 1, -beta,
                                             -std::max(alpha, best), false);
        if (score > best) {
            best = score;
            if (best >= beta) {
                break;
            }
        }
    }
    return best;
}

int32_t SparringPartner::solve(uint64_t own, uint64_t opposing, int32_t& bestCell) {
    bestCell = -1;
    const uint64_t moves = legalMoves(own, opposing);
    if (moves == 0) {
        return search<true>(own, opposing, 0, -64, 64, false);
    }
    Ordered ordered;
    byReplies(moves, own, opposing, ordered);
    int32_t best = -65;
    for (int32_t i = 0; i < ordered.count; ++i) {
        const uint64_t turned = ordered.turnedBy(i, own, opposing);
        const int32_t score = -search<true>(opposing & ~turned, own | turned, 0, -64, -best, false);
        if (score > best) {
            best = score;
            bestCell = ordered.cell[i];
        }
    }
    return best;
}

// From the side to move: corners, mobility, discs on the cells next to a
// corner that is still empty (they hand it over), and frontier discs (each
// one gives the other side a move).
int32_t SparringPartner::evaluate(uint64_t own, uint64_t opposing) {
    const uint64_t empty = ~(own | opposing);
    int32_t score = 100 * (count(own & CORNERS) - count(opposing & CORNERS));
    score += 10 * (count(legalMoves(own, opposing)) - count(legalMoves(opposing, own)));
    for (int32_t corner = 0; corner < 4; ++corner) {
        if ((empty >> CORNER_CELLS[corner] & 1) != 0) {
            const uint64_t x = 1ULL << X_OF[corner];
            score -= 30 * (count(own & x) - count(opposing & x));
            score -= 10 * (count(own & C_OF[corner]) - count(opposing & C_OF[corner]));
        }
    }
    const uint64_t frontier = beside(empty);
    score -= 4 * (count(own & frontier) - count(opposing & frontier));
    return score;
}
