#include "ai/SearchEngine.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>
#include <utility>

#include "rules/DiscSets.h"
#include "rules/WideDiscSets.h"

namespace {

// The four border lines of a disc set, one per byte: the left and right
// columns as they lie, and the top and bottom rows gathered by a multiply
// that moves bit 8·x of the row to bit 56 + x without any two bits meeting.
uint32_t borderLines(uint64_t discs) {
    constexpr uint64_t GATHER = 0x0102040810204080ULL;
    const uint64_t top = ((discs & DiscSets::TOP_ROW) * GATHER) >> 56;
    const uint64_t bottom = ((discs >> 7 & DiscSets::TOP_ROW) * GATHER) >> 56;
    return static_cast<uint32_t>((discs & 0xFF) | (discs >> 56) << 8 | top << 16 | bottom << 24);
}

// The number of discs in each byte.
uint64_t byteCounts(uint64_t lines) {
    lines -= lines >> 1 & 0x5555555555555555ULL;
    lines = (lines & 0x3333333333333333ULL) + (lines >> 2 & 0x3333333333333333ULL);
    return (lines + (lines >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
}

// 0xFF in each byte whose count is 0 (counts are at most 8).
uint64_t emptyBytes(uint64_t counts) {
    return ((~(counts + 0x7F7F7F7F7F7F7F7FULL) & 0x8080808080808080ULL) >> 7) * 0xFFU;
}

// An evaluation stays strictly between a lost and a won game, so a real win
// always beats any table sum and the root always has a best move, however
// wild the table file is.
constexpr int64_t EVALUATION_LIMIT = SearchEngine::WIN_SCORE - 1;

int32_t clamped(int64_t sum) {
    return static_cast<int32_t>(std::clamp(sum, -EVALUATION_LIMIT, EVALUATION_LIMIT));
}

constexpr uint64_t BORDER = DiscSets::TOP_ROW | DiscSets::BOTTOM_ROW | 0xFF | 0xFFULL << 56;

// Whether `score` is better than `than` for the side to move.
template <bool MAXIMISING>
bool improves(int32_t score, int32_t than) {
    return MAXIMISING ? score > than : score < than;
}

}  // namespace

// The moves of one position, each with the discs it turns.
struct SearchEngine::Moves {
    int32_t count = 0;
    uint8_t cell[64];
    uint64_t flips[64];
    Standing after[64];
};

SearchEngine::SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty,
                           int32_t edgeWeight)
    : horizon(int64_t{depth} + 1),
      difficulty(difficulty),
      edgeWeight(edgeWeight),
      wide(WideDiscSets::available()),
      table(static_cast<Entry*>(std::calloc(TABLE_ENTRIES, sizeof(Entry)))) {
    if (!table) {
        throw std::bad_alloc();
    }
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
    // The cells by falling value, equal values together, in at most
    // MAX_RANKS groups (a table with more distinct values shares them out).
    int32_t byValue[64];
    for (int32_t cell = 0; cell < 64; ++cell) {
        byValue[cell] = cell;
    }
    std::stable_sort(byValue, byValue + 64,
                     [&](int32_t a, int32_t b) { return cellValue[a] > cellValue[b]; });
    for (int32_t i = 0; i < 64; ++i) {
        const bool newValue = i == 0 || cellValue[byValue[i]] != cellValue[byValue[i - 1]];
        if (newValue && cellRanks < MAX_RANKS) {
            ++cellRanks;
        }
        cellsOfRank[cellRanks - 1] |= uint64_t{1} << byValue[i];
    }
}

void SearchEngine::startSearch() {
    giveUp = false;
    cutBy[0] = 0;
    cutBy[1] = 0;
    // Generation 0 marks the never-written entries; after some four billion
    // searches the numbers come round again, so the table is wiped then.
    if (++generation == 0) {
        std::fill(table.get(), table.get() + TABLE_ENTRIES, Entry{});
        generation = 1;
    }
}

int64_t SearchEngine::tableSumOf(uint64_t discs) const {
    int64_t sum = 0;
    for (int32_t x = 0; x < 8; ++x) {
        sum += columnValue[x][discs >> (8 * x) & 0xFF];
    }
    return sum;
}

int64_t SearchEngine::tableSum(uint64_t computer, uint64_t opponent) const {
    return tableSumOf(computer) - tableSumOf(opponent);
}

int32_t SearchEngine::tableValue(const Standing& standing) {
    return clamped(standing.sum + standing.edge);
}

int32_t SearchEngine::evaluate(uint64_t computer, uint64_t opponent) const {
    int64_t sum = tableSum(computer, opponent);
    if (difficulty == HARD) {
        sum += edgeTerm(computer, opponent);
    }
    return clamped(sum);
}

// Each border line held by one side only counts edgeWeight per disc for that
// side; a corner counts on both of its lines. Summed over the four lines at
// once, a byte each: a line with discs of both sides, or none, adds nothing.
int32_t SearchEngine::edgeTerm(uint64_t computer, uint64_t opponent) const {
    return edgeOfLines(borderLines(computer), borderLines(opponent));
}

[[gnu::always_inline]] inline int32_t SearchEngine::edgeOfLines(uint32_t computerLines,
                                                                uint32_t opponentLines) const {
    // Both sides' lines in one word, the computer's in the low half: the
    // counts of each side's lines held alone, then the sum of each half.
    const uint64_t counts = byteCounts(computerLines | uint64_t{opponentLines} << 32);
    const uint64_t empty = emptyBytes(counts);
    const uint64_t alone = counts & (empty >> 32 | empty << 32);
    const uint64_t sums = alone * 0x01010101U;
    return edgeWeight *
           (static_cast<int32_t>(sums >> 24 & 0xFF) - static_cast<int32_t>(sums >> 56));
}

uint64_t SearchEngine::movesOf(uint64_t own, uint64_t opposing) const {
    return wide ? WideDiscSets::movesOf(own, opposing) : DiscSets::movesOf(own, opposing);
}

bool SearchEngine::canMove(uint64_t own, uint64_t opposing) const {
    return wide ? WideDiscSets::movesOf(own, opposing) != 0
                : DiscSets::canMoveSomewhere(own, opposing);
}

uint64_t SearchEngine::flipsOf(int32_t cell, uint64_t own, uint64_t opposing) const {
    return wide ? WideDiscSets::flipsOf(cell, own, opposing)
                : DiscSets::flipsOf(cell, own, opposing);
}

uint64_t SearchEngine::turnable(uint64_t own, uint64_t opposing) const {
    return wide ? WideDiscSets::turnable(own, opposing) : DiscSets::turnable(own, opposing);
}

uint64_t SearchEngine::anchorsOf(uint64_t own, uint64_t opposing) const {
    return wide ? WideDiscSets::anchorsOf(own, opposing) : DiscSets::anchorsOf(own, opposing);
}

SearchEngine::Standing SearchEngine::standingOf(uint64_t computer, uint64_t opponent) const {
    Standing standing{tableSum(computer, opponent), 0, 0, 0,
                      DiscSets::count(computer) - DiscSets::count(opponent)};
    if (difficulty == HARD) {
        standing.computerLines = borderLines(computer);
        standing.opponentLines = borderLines(opponent);
        standing.edge = edgeOfLines(standing.computerLines, standing.opponentLines);
    }
    return standing;
}

template <bool MAXIMISING>
int32_t SearchEngine::search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta,
                             int32_t ply) {
    // A node past the horizon is valued as one on it; no game lasts 64 more plies.
    const auto remaining = static_cast<int32_t>(std::clamp<int64_t>(horizon - ply, 0, 64));
    const Standing standing = standingOf(computer, opponent);
    return MAXIMISING ? node<true>(computer, opponent, alpha, beta, remaining, standing)
                      : node<false>(opponent, computer, alpha, beta, remaining, standing);
}

template int32_t SearchEngine::search<true>(uint64_t, uint64_t, int32_t, int32_t, int32_t);
template int32_t SearchEngine::search<false>(uint64_t, uint64_t, int32_t, int32_t, int32_t);

SearchEngine::Entry& SearchEngine::entryOf(uint64_t computer, uint64_t opponent,
                                           bool computerMoves) const {
    uint64_t key =
        computer ^ (opponent * 0x9E3779B97F4A7C15ULL) ^ static_cast<uint64_t>(computerMoves);
    key ^= key >> 31;
    key *= 0xBF58476D1CE4E5B9ULL;
    key ^= key >> 29;
    return table.get()[key & (TABLE_ENTRIES - 1)];
}

// The standing after the computer (MAXIMISING) or its opponent plays `cell`
// turning `flips`, from the standing before: the cell played and twice each
// disc turned change the sum, and the border lines change only where the
// move reaches them.
template <bool MAXIMISING>
[[gnu::always_inline]] inline SearchEngine::Standing SearchEngine::after(const Standing& before,
                                                                         int32_t cell,
                                                                         uint64_t flips) const {
    const uint64_t turned = flips | uint64_t{1} << cell;
    const int64_t change = cellValue[cell] + 2 * tableSumOf(flips);
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

// What a move might gain besides its own cell: the positive value of the
// discs it might turn, their border lines and the discs themselves.
SearchEngine::Reach SearchEngine::reachOf(uint64_t discs) const {
    return Reach{positiveSumOf(discs), (discs & BORDER) != 0 ? borderLines(discs) : 0, discs};
}

// A bound on the value of the leaf after the computer (MAXIMISING) or its
// opponent plays a cell worth at most `placed` on the border lines
// `placedLines`, turning some of the discs `reach` describes: at most (for
// the computer's move) or at least what the leaf is worth. The table sum
// takes every reachable disc of positive value as turned, the border term
// takes all of them and the cells as taken, which is the worst for the side
// losing them on every line, and so does the disc count, which is left out
// when the leaf's side is known to have a move (`answered`).
template <bool MAXIMISING>
[[gnu::always_inline]] inline int32_t SearchEngine::boundAfter(const Standing& before,
                                                               int64_t placed, uint32_t placedLines,
                                                               const Reach& reach,
                                                               bool answered) const {
    const int64_t most = placed + 2 * reach.positive;
    int64_t sum = MAXIMISING ? before.sum + most : before.sum - most;
    if (difficulty == HARD) {
        const uint32_t reached = reach.lines | placedLines;
        if (reached == 0) {
            sum += before.edge;
        } else {
            sum +=
                MAXIMISING
                    ? edgeOfLines(before.computerLines | reached, before.opponentLines & ~reached)
                    : edgeOfLines(before.computerLines & ~reached, before.opponentLines | reached);
        }
    }
    if (answered) {
        return clamped(sum);
    }
    const int32_t gained = 1 + 2 * DiscSets::count(reach.discs);
    const int32_t counted = finalScore(MAXIMISING ? before.lead + gained : before.lead - gained, 0);
    return MAXIMISING ? std::max(clamped(sum), counted) : std::min(clamped(sum), counted);
}

int64_t SearchEngine::positiveSumOf(uint64_t discs) const {
    int64_t sum = 0;
    for (int32_t x = 0; x < 8; ++x) {
        sum += positiveColumnValue[x][discs >> (8 * x) & 0xFF];
    }
    return sum;
}

// A node one ply above the horizon: every reply is a leaf, valued in place.
// Most such nodes are cut off after a reply or two, so the replies are
// found one at a time: first the one that cut off the last such node (its
// neighbours in the tree differ by a move or two, and are mostly answered
// alike), then the cells the table values most. A leaf is
// worth its table value while its side can move and the disc count once it
// cannot, so the costlier test for a move is made only when the two differ
// and either would change the best.
//
// A node that the first reply does not cut off usually has to look at all
// of them, and most cannot come near the window: from then on each reply is
// first bounded, cheaply, from the discs it might turn (those on its lines
// that some move turns), and only one whose bound reaches the window is
// valued exactly. The others count with their bound, which is on the far
// side of the window, so the node's value stays exact inside it.
template <bool MAXIMISING>
int32_t SearchEngine::frontier(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                               const Standing& standing) {
    const uint64_t targets = movesOf(mover, waiting);
    if (targets == 0) {
        return countedValue(standing);
    }
    int32_t best = MAXIMISING ? -SCORE_LIMIT : SCORE_LIMIT;
    bool bounding = false;
    uint64_t turnableDiscs = 0;
    uint64_t anchors = 0;
    const uint64_t lastCut = targets & cutBy[MAXIMISING];
    for (int32_t rank = -1; rank < cellRanks; ++rank) {
        const uint64_t cells = rank < 0 ? lastCut : targets & cellsOfRank[rank] & ~lastCut;
        for (uint64_t rest = cells; rest != 0; rest &= rest - 1) {
            countNode();
            const int32_t cell = __builtin_ctzll(rest);
            // A leaf's side surely has a move when one of its moves here is
            // closed by a disc off the lines through `cell`: nothing on that
            // line changes.
            bool answered = false;
            if (bounding) {
                const uint64_t lines = DiscSets::linesThrough(cell);
                answered = (anchors & ~lines) != 0;
                const uint64_t placed = uint64_t{1} << cell;
                const int32_t bound = boundAfter<MAXIMISING>(
                    standing, cellValue[cell], (placed & BORDER) != 0 ? borderLines(placed) : 0,
                    reachOf(turnableDiscs & lines), answered);
                if (MAXIMISING ? bound <= alpha : bound >= beta) {
                    if (improves<MAXIMISING>(bound, best)) {
                        best = bound;
                    }
                    continue;
                }
            }
            const uint64_t flips = flipsOf(cell, mover, waiting);
            const uint64_t turned = flips | uint64_t{1} << cell;
            const uint64_t moved = mover | turned;
            const uint64_t left = waiting & ~turned;
            const Standing leaf = after<MAXIMISING>(standing, cell, flips);
            const int32_t table = tableValue(leaf);
            const int32_t counted = countedValue(leaf);
            if (improves<MAXIMISING>(table, best) ||
                (!answered && improves<MAXIMISING>(counted, best))) {
                // Whether the leaf's side can move decides between the two
                // only when they fall on different sides of the window.
                const int32_t low = std::min(table, counted);
                const int32_t high = std::max(table, counted);
                int32_t score;
                if (answered || table == counted) {
                    score = table;
                } else if (MAXIMISING ? low >= beta : high <= alpha) {
                    cutBy[MAXIMISING] = uint64_t{1} << cell;
                    return MAXIMISING ? low : high;
                } else if (MAXIMISING ? high <= alpha : low >= beta) {
                    score = MAXIMISING ? high : low;
                } else {
                    score = canMove(left, moved) ? table : counted;
                }
                if (improves<MAXIMISING>(score, best)) {
                    best = score;
                    if (MAXIMISING ? best >= beta : best <= alpha) {
                        cutBy[MAXIMISING] = uint64_t{1} << cell;
                        return best;
                    }
                }
            }
            if (!bounding) {
                bounding = true;
                turnableDiscs = turnable(mover, waiting);
                anchors = anchorsOf(waiting, mover);
                // First all the other replies at once, as if any could be
                // played on the best of their cells and turn every disc that
                // some move turns.
                const uint64_t others = targets & ~(uint64_t{1} << cell);
                if (others == 0) {
                    return best;
                }
                // The best of them is among the first rank that holds any.
                int32_t first = std::max(rank, 0);
                while ((others & cellsOfRank[first]) == 0) {
                    ++first;
                }
                int64_t placed = INT64_MIN;
                for (uint64_t rest = others & cellsOfRank[first]; rest != 0; rest &= rest - 1) {
                    placed = std::max(placed, cellValue[__builtin_ctzll(rest)]);
                }
                // A cell whose lines hold every anchor is on the lines of
                // each of them.
                uint64_t unanswered = others;
                for (uint64_t rest = anchors; rest != 0 && unanswered != 0; rest &= rest - 1) {
                    unanswered &= DiscSets::linesThrough(__builtin_ctzll(rest));
                }
                const bool answeredAll = unanswered == 0;
                const int32_t bound = boundAfter<MAXIMISING>(
                    standing, placed, (others & BORDER) != 0 ? borderLines(others) : 0,
                    reachOf(turnableDiscs), answeredAll);
                if (MAXIMISING ? bound <= alpha : bound >= beta) {
                    return improves<MAXIMISING>(bound, best) ? bound : best;
                }
            }
        }
    }
    return best;
}

// One node: `mover` holds the discs of the side to move, `waiting` the
// other's, and `remaining` the plies to the horizon (where the node's value
// depends on nothing else, so the table keys on it rather than on the ply).
// Fail-soft alpha-beta: a value at or beyond the window's edge is returned
// as the bound the search proved, never clamped to the edge.
template <bool MAXIMISING>
int32_t SearchEngine::node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                           int32_t remaining, const Standing& standing) {
    countNode();
    const uint64_t computer = MAXIMISING ? mover : waiting;
    const uint64_t opponent = MAXIMISING ? waiting : mover;
    if (remaining == 0) {
        // Only whether the side can move matters here, not its moves.
        return canMove(mover, waiting) ? tableValue(standing) : countedValue(standing);
    }
    if (remaining == 1) {
        return frontier<MAXIMISING>(mover, waiting, alpha, beta, standing);
    }
    // The table entry is most likely not in the cache: fetch it while the
    // moves are found. Two plies from the horizon a position costs less to
    // search again than to look up, and there are most of them.
    const bool tabled = remaining >= TABLE_FROM;
    Entry* entry = tabled ? &entryOf(computer, opponent, MAXIMISING) : nullptr;
    __builtin_prefetch(entry);
    const uint64_t targets = movesOf(mover, waiting);
    if (targets == 0) {
        return countedValue(standing);
    }
    int32_t best = MAXIMISING ? -SCORE_LIMIT : SCORE_LIMIT;
    const auto cuts = [&](int32_t score) { return MAXIMISING ? score >= beta : score <= alpha; };

    const auto holds = [&](const Entry* e) {
        return e != nullptr && e->generation == generation && e->computer == computer &&
               e->opponent == opponent && e->computerMoves == MAXIMISING;
    };
    // With no earlier best move to try first, a shallower search finds one.
    if (remaining >= DEEPENING_FROM && beta - alpha > 1 && !holds(entry)) {
        node<MAXIMISING>(mover, waiting, alpha, beta, remaining - 2, standing);
        if (giveUp) {
            return best;
        }
    }
    const bool known = holds(entry);
    const uint8_t hashMove = known ? entry->best : 64;
    if (known && entry->remaining == remaining) {
        if (entry->lower >= beta) {
            return entry->lower;
        }
        if (entry->upper <= alpha) {
            return entry->upper;
        }
        if (entry->lower == entry->upper) {
            return entry->lower;
        }
        alpha = std::max(alpha, entry->lower);
        beta = std::min(beta, entry->upper);
    }
    const int32_t searchedAlpha = alpha;
    const int32_t searchedBeta = beta;

    // Searches one move, the first with the node's window and the others
    // with a null window, which shows cheaply that a move is no better; one
    // that turns out better inside the window is searched again for its
    // exact value. True once the node is settled: cut off, or given up.
    uint8_t bestCell = 64;
    bool first = true;
    const auto tryMove = [&](int32_t cell, uint64_t flips, const Standing& next) {
        const uint64_t turned = flips | uint64_t{1} << cell;
        const uint64_t moved = mover | turned;
        const uint64_t left = waiting & ~turned;
        int32_t score;
        if (first) {
            first = false;
            score = node<!MAXIMISING>(left, moved, alpha, beta, remaining - 1, next);
        } else {
            const int32_t edge = MAXIMISING ? alpha : beta;
            score = MAXIMISING ? node<false>(left, moved, edge, edge + 1, remaining - 1, next)
                               : node<true>(left, moved, edge - 1, edge, remaining - 1, next);
            if (!giveUp && improves<MAXIMISING>(score, edge) && !cuts(score)) {
                score = MAXIMISING ? node<false>(left, moved, score, beta, remaining - 1, next)
                                   : node<true>(left, moved, alpha, score, remaining - 1, next);
            }
        }
        if (giveUp) {
            return true;
        }
        if (improves<MAXIMISING>(score, best)) {
            best = score;
            bestCell = static_cast<uint8_t>(cell);
        }
        if (cuts(best)) {
            return true;
        }
        if (MAXIMISING) {
            alpha = std::max(alpha, best);
        } else {
            beta = std::min(beta, best);
        }
        return false;
    };

    if (remaining <= RANKED_BY_CELL) {
        // Close to the horizon most nodes are cut off by their first move or
        // two, and working out what every move turns would cost more than it
        // saves: the move that was best here before goes first, then the
        // cells the table values most, and a move's discs are turned when it
        // is tried.
        const auto play = [&](int32_t cell) {
            const uint64_t flips = flipsOf(cell, mover, waiting);
            return tryMove(cell, flips, after<MAXIMISING>(standing, cell, flips));
        };
        uint64_t rest = targets;
        bool settled = false;
        if (hashMove < 64 && (rest >> hashMove & 1) != 0) {
            rest &= ~(uint64_t{1} << hashMove);
            settled = play(hashMove);
        }
        for (int32_t rank = 0; rank < cellRanks && !settled; ++rank) {
            for (uint64_t cells = rest & cellsOfRank[rank]; cells != 0 && !settled;
                 cells &= cells - 1) {
                settled = play(__builtin_ctzll(cells));
            }
        }
    } else {
        // Further up, most promising first: the move that was best here
        // before, then the moves that leave the other side the fewest
        // replies, then by the value of the position they leave.
        Moves moves;
        int32_t promise[64];
        for (uint64_t rest = targets; rest != 0; rest &= rest - 1) {
            const int32_t i = moves.count++;
            const int32_t cell = __builtin_ctzll(rest);
            moves.cell[i] = static_cast<uint8_t>(cell);
            moves.flips[i] = flipsOf(cell, mover, waiting);
            moves.after[i] = after<MAXIMISING>(standing, cell, moves.flips[i]);
            const uint64_t turned = moves.flips[i] | uint64_t{1} << cell;
            const int32_t value = tableValue(moves.after[i]);
            const int32_t replies =
                remaining >= MOBILITY_FROM
                    ? DiscSets::count(movesOf(waiting & ~turned, mover | turned))
                    : 0;
            promise[i] =
                cell == hashMove ? INT32_MAX : (MAXIMISING ? value : -value) / 10 - 100 * replies;
        }
        for (int32_t tried = 0; tried < moves.count; ++tried) {
            int32_t pick = tried;
            for (int32_t i = tried + 1; i < moves.count; ++i) {
                if (promise[i] > promise[pick]) {
                    pick = i;
                }
            }
            std::swap(promise[tried], promise[pick]);
            std::swap(moves.cell[tried], moves.cell[pick]);
            std::swap(moves.flips[tried], moves.flips[pick]);
            std::swap(moves.after[tried], moves.after[pick]);
            if (tryMove(moves.cell[tried], moves.flips[tried], moves.after[tried])) {
                break;
            }
        }
    }
    if (giveUp || !tabled) {
        return best;
    }

    // What the search proved. The children may have replaced this entry;
    // a deeper result for the same position is worth more than this one.
    const int32_t lower = best > searchedAlpha ? best : -SCORE_LIMIT;
    const int32_t upper = best < searchedBeta ? best : SCORE_LIMIT;
    entry = &entryOf(computer, opponent, MAXIMISING);
    if (holds(entry) && entry->remaining == remaining) {
        entry->lower = std::max(entry->lower, lower);
        entry->upper = std::min(entry->upper, upper);
        entry->best = bestCell;
    } else if (!holds(entry) || entry->remaining < remaining) {
        *entry =
            Entry{computer,   opponent, lower, upper, generation, static_cast<uint8_t>(remaining),
                  MAXIMISING, bestCell};
    }
    return best;
}
