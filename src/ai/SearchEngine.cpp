#include "ai/SearchEngine.h"

#include <algorithm>
#include <utility>

#include "rules/DiscSets.h"
#include "rules/WideDiscSets.h"

namespace {

// Whether `score` is better than `than` for the side to move.
template <bool MAXIMISING>
bool improves(int32_t score, int32_t than) {
    return MAXIMISING ? score > than : score < than;
}

// A move's promise, in tens of points: the value of the position it leaves,
// less a thousand points (a border disc's worth) for each reply it leaves
// the other side.
constexpr int32_t PROMISE_UNIT = 10;
constexpr int32_t REPLY_COST = 1000 / PROMISE_UNIT;

}  // namespace

// One node below the root while its moves are tried: the discs of the side
// to move and of the other, the window as it narrows, and the best move so
// far (fail-soft: the best score may lie beyond the window).
template <bool MAXIMISING>
struct SearchEngine::Node {
    uint64_t mover;
    uint64_t waiting;
    int32_t alpha;
    int32_t beta;
    int32_t remaining;
    int32_t best = MAXIMISING ? -SCORE_LIMIT : SCORE_LIMIT;
    uint8_t bestCell = NO_MOVE;
    uint8_t hashMove = NO_MOVE;
    bool first = true;

    // A beta cut-off where the computer moves, an alpha one where its
    // opponent does.
    bool cuts(int32_t score) const { return MAXIMISING ? score >= beta : score <= alpha; }

    // Takes what the table knows of the position from this search: its hash
    // move and, from a search as deep, bounds that settle the node (true,
    // with its value) or narrow its window.
    bool probe(const Entry* known, int32_t& value) {
        if (known == nullptr) {
            return false;
        }
        hashMove = known->best;
        if (known->remaining != remaining) {
            return false;
        }
        if (known->lower >= beta || known->upper <= alpha || known->lower == known->upper) {
            value = known->lower >= beta ? known->lower : known->upper;
            return true;
        }
        alpha = std::max(alpha, known->lower);
        beta = std::min(beta, known->upper);
        return false;
    }

    // Takes a move's score into the best and the window; true when the
    // node is cut off.
    bool take(int32_t score, int32_t cell) {
        if (improves<MAXIMISING>(score, best)) {
            best = score;
            bestCell = static_cast<uint8_t>(cell);
        }
        if (cuts(best)) {
            return true;
        }
        (MAXIMISING ? alpha : beta) = MAXIMISING ? std::max(alpha, best) : std::min(beta, best);
        return false;
    }
};

// The moves of one position, each with the discs it turns, the standing it
// leaves and how promising it looks.
struct SearchEngine::Moves {
    int32_t count = 0;
    uint8_t cell[64];
    uint64_t flips[64];
    Standing after[64];
    int32_t promise[64];

    // Brings the most promising move from `tried` on to `tried`: most
    // nodes are cut off long before their last move is sorted.
    void bringForward(int32_t tried) {
        int32_t pick = tried;
        for (int32_t i = tried + 1; i < count; ++i) {
            if (promise[i] > promise[pick]) {
                pick = i;
            }
        }
        std::swap(promise[tried], promise[pick]);
        std::swap(cell[tried], cell[pick]);
        std::swap(flips[tried], flips[pick]);
        std::swap(after[tried], after[pick]);
    }
};

SearchEngine::SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty)
    : evaluator(values, difficulty), horizon(int64_t{depth} + 1), wide(WideDiscSets::available()) {
    // The cells by falling value, equal values together, in at most
    // MAX_RANKS groups (a table with more distinct values shares them out).
    int32_t byValue[64];
    for (int32_t cell = 0; cell < 64; ++cell) {
        byValue[cell] = cell;
    }
    std::stable_sort(byValue, byValue + 64, [&](int32_t a, int32_t b) {
        return evaluator.valueOf(a) > evaluator.valueOf(b);
    });
    for (int32_t i = 0; i < 64; ++i) {
        const bool newValue =
            i == 0 || evaluator.valueOf(byValue[i]) != evaluator.valueOf(byValue[i - 1]);
        if (newValue && cellRanks < MAX_RANKS) {
            ++cellRanks;
        }
        cellsOfRank[cellRanks - 1] |= uint64_t{1} << byValue[i];
    }
}

void SearchEngine::startSearch() {
    giveUp = false;
    killer[0] = 0;
    killer[1] = 0;
    table.nextGeneration();
}

template <bool MAXIMISING>
int32_t SearchEngine::search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta,
                             int32_t ply) {
    // A node past the horizon is valued as one on it; no game lasts 64 more plies.
    const auto remaining = static_cast<int32_t>(std::clamp<int64_t>(horizon - ply, 0, 64));
    const Standing standing = evaluator.standingOf(computer, opponent);
    const uint64_t mover = MAXIMISING ? computer : opponent;
    const uint64_t waiting = MAXIMISING ? opponent : computer;
    if constexpr (WideDiscSets::BUILT) {
        if (wide) {
            return node<WideDiscSets, MAXIMISING>(mover, waiting, alpha, beta, remaining, standing);
        }
    }
    return node<DiscSets, MAXIMISING>(mover, waiting, alpha, beta, remaining, standing);
}

template int32_t SearchEngine::search<true>(uint64_t, uint64_t, int32_t, int32_t, int32_t);
template int32_t SearchEngine::search<false>(uint64_t, uint64_t, int32_t, int32_t, int32_t);

// One node: `mover` holds the discs of the side to move, `waiting` the
// other's, and `remaining` the plies to the horizon (the node's value
// depends on nothing else, so the table keys on it rather than on the ply):
// probe the table, order and search the moves, store what was proved.
template <typename Sets, bool MAXIMISING>
int32_t SearchEngine::node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                           int32_t remaining, const Standing& standing) {
    countNode();
    if (remaining == 0) {
        // Only whether the side can move matters here, not its moves.
        return Sets::canMove(mover, waiting) ? Evaluation::tableValue(standing)
                                             : Evaluation::countedValue(standing);
    }
    if (remaining == 1) {
        return frontier<Sets, MAXIMISING>(mover, waiting, alpha, beta, standing);
    }
    const uint64_t computer = MAXIMISING ? mover : waiting;
    const uint64_t opponent = MAXIMISING ? waiting : mover;
    // The slot is most likely not in the cache: fetch it while the moves
    // are found.
    const bool tabled = remaining >= TABLE_FROM;
    Entry* slot = tabled ? table.slotOf(computer, opponent, MAXIMISING) : nullptr;
    __builtin_prefetch(slot);
    const uint64_t targets = Sets::movesOf(mover, waiting);
    if (targets == 0) {
        return Evaluation::countedValue(standing);
    }
    Node<MAXIMISING> at{mover, waiting, alpha, beta, remaining};
    // Internal iterative deepening: with no hash move to try first, a
    // search two plies shallower finds one.
    if (remaining >= DEEPENING_FROM && beta - alpha > 1 &&
        table.probe(slot, computer, opponent, MAXIMISING) == nullptr) {
        node<Sets, MAXIMISING>(mover, waiting, alpha, beta, remaining - 2, standing);
        if (giveUp) {
            return at.best;
        }
    }
    int32_t known;
    if (at.probe(table.probe(slot, computer, opponent, MAXIMISING), known)) {
        return known;
    }
    const int32_t searchedAlpha = at.alpha;
    const int32_t searchedBeta = at.beta;
    if (remaining <= RANKED_BY_CELL) {
        searchByRank<Sets>(at, targets, standing);
    } else {
        searchByPromise<Sets>(at, targets, standing);
    }
    if (tabled && !giveUp) {
        table.store(slot,
                    Entry{computer, opponent, at.best > searchedAlpha ? at.best : -SCORE_LIMIT,
                          at.best < searchedBeta ? at.best : SCORE_LIMIT, 0,
                          static_cast<uint8_t>(remaining), MAXIMISING, at.bestCell});
    }
    return at.best;
}

// Close to the horizon most nodes are cut off by their first move or two,
// and working out what every move turns would cost more than it saves: the
// hash move goes first, then the cells the table values most, and a move's
// discs are turned when it is tried.
template <typename Sets, bool MAXIMISING>
void SearchEngine::searchByRank(Node<MAXIMISING>& at, uint64_t targets, const Standing& standing) {
    const auto play = [&](int32_t cell) {
        const uint64_t flips = Sets::flipsOf(cell, at.mover, at.waiting);
        return tryMove<Sets>(at, cell, flips, evaluator.after<MAXIMISING>(standing, cell, flips));
    };
    uint64_t rest = targets;
    if (at.hashMove < NO_MOVE && (rest >> at.hashMove & 1) != 0) {
        rest &= ~(uint64_t{1} << at.hashMove);
        if (play(at.hashMove)) {
            return;
        }
    }
    for (int32_t rank = 0; rank < cellRanks; ++rank) {
        for (uint64_t cells = rest & cellsOfRank[rank]; cells != 0; cells &= cells - 1) {
            if (play(__builtin_ctzll(cells))) {
                return;
            }
        }
    }
}

// Further up, most promising first: the hash move, then the moves that leave
// the other side the fewest replies, then by the value of the position they
// leave.
template <typename Sets, bool MAXIMISING>
void SearchEngine::searchByPromise(Node<MAXIMISING>& at, uint64_t targets,
                                   const Standing& standing) {
    Moves moves;
    order<Sets>(at, targets, standing, moves);
    for (int32_t tried = 0; tried < moves.count; ++tried) {
        moves.bringForward(tried);
        if (tryMove<Sets>(at, moves.cell[tried], moves.flips[tried], moves.after[tried])) {
            return;
        }
    }
}

template <typename Sets, bool MAXIMISING>
void SearchEngine::order(const Node<MAXIMISING>& at, uint64_t targets, const Standing& standing,
                         Moves& moves) const {
    for (uint64_t rest = targets; rest != 0; rest &= rest - 1) {
        const int32_t i = moves.count++;
        const int32_t cell = __builtin_ctzll(rest);
        moves.cell[i] = static_cast<uint8_t>(cell);
        moves.flips[i] = Sets::flipsOf(cell, at.mover, at.waiting);
        moves.after[i] = evaluator.after<MAXIMISING>(standing, cell, moves.flips[i]);
        const uint64_t turned = moves.flips[i] | uint64_t{1} << cell;
        const int32_t value = Evaluation::tableValue(moves.after[i]);
        const int32_t replies =
            at.remaining >= MOBILITY_FROM
                ? DiscSets::count(Sets::movesOf(at.waiting & ~turned, at.mover | turned))
                : 0;
        moves.promise[i] = cell == at.hashMove ? INT32_MAX
                                               : (MAXIMISING ? value : -value) / PROMISE_UNIT -
                                                     REPLY_COST * replies;
    }
}

// Principal variation search: the first move with the node's window, the
// rest with a null window. True once the node is settled: cut off, or
// given up.
template <typename Sets, bool MAXIMISING>
bool SearchEngine::tryMove(Node<MAXIMISING>& at, int32_t cell, uint64_t flips,
                           const Standing& next) {
    const uint64_t turned = flips | uint64_t{1} << cell;
    const uint64_t moved = at.mover | turned;
    const uint64_t left = at.waiting & ~turned;
    int32_t score;
    if (at.first) {
        at.first = false;
        score = node<Sets, !MAXIMISING>(left, moved, at.alpha, at.beta, at.remaining - 1, next);
    } else {
        score = searchRest<Sets>(at, left, moved, next);
    }
    return giveUp || at.take(score, cell);
}

// A null window at the edge the node has to beat shows cheaply that a move
// is no better. One that turns out better without cutting the node off is
// searched again for its exact value (the null-window re-search).
template <typename Sets, bool MAXIMISING>
int32_t SearchEngine::searchRest(const Node<MAXIMISING>& at, uint64_t left, uint64_t moved,
                                 const Standing& next) {
    const int32_t remaining = at.remaining - 1;
    const int32_t edge = MAXIMISING ? at.alpha : at.beta;
    const int32_t score = MAXIMISING
                              ? node<Sets, false>(left, moved, edge, edge + 1, remaining, next)
                              : node<Sets, true>(left, moved, edge - 1, edge, remaining, next);
    if (giveUp || !improves<MAXIMISING>(score, edge) || at.cuts(score)) {
        return score;
    }
    return MAXIMISING ? node<Sets, false>(left, moved, score, at.beta, remaining, next)
                      : node<Sets, true>(left, moved, at.alpha, score, remaining, next);
}

// A node one ply above the horizon: every reply is a leaf, valued in place.
// Most such nodes are cut off after a reply or two, so the replies are
// found one at a time: first the killer reply (neighbouring nodes are
// mostly answered alike), then the cells the table values most. A node the
// first reply does not cut off usually has to look at all of them, and most
// cannot come near the window: from then on each reply is first bounded,
// cheaply, from the discs it might turn, and only one whose bound reaches
// the window is valued exactly (a futility-style cut). The others count
// with their bound, beyond the window, so the value stays exact inside it.
template <typename Sets, bool MAXIMISING>
int32_t SearchEngine::frontier(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                               const Standing& standing) {
    const uint64_t targets = Sets::movesOf(mover, waiting);
    if (targets == 0) {
        return Evaluation::countedValue(standing);
    }
    Node<MAXIMISING> at{mover, waiting, alpha, beta, 1};
    const auto futile = [&](int32_t bound) { return MAXIMISING ? bound <= alpha : bound >= beta; };
    bool bounding = false;
    uint64_t turnable = 0;
    uint64_t anchors = 0;
    const uint64_t killerReply = targets & killer[MAXIMISING];
    for (int32_t rank = -1; rank < cellRanks; ++rank) {
        const uint64_t cells = rank < 0 ? killerReply : targets & cellsOfRank[rank] & ~killerReply;
        for (uint64_t rest = cells; rest != 0; rest &= rest - 1) {
            countNode();
            const int32_t cell = __builtin_ctzll(rest);
            // The leaf's side surely has a move if one of its moves here is
            // closed by a disc off the lines through `cell`.
            bool answered = false;
            if (bounding) {
                const uint64_t lines = DiscSets::linesThrough(cell);
                answered = (anchors & ~lines) != 0;
                const int32_t bound = evaluator.boundAfter<MAXIMISING>(
                    standing, evaluator.valueOf(cell), uint64_t{1} << cell, turnable & lines,
                    answered);
                if (futile(bound)) {
                    at.best = improves<MAXIMISING>(bound, at.best) ? bound : at.best;
                    continue;
                }
            }
            const int32_t score = leafValue<Sets>(at, cell, standing, answered);
            if (improves<MAXIMISING>(score, at.best)) {
                at.best = score;
                if (at.cuts(score)) {
                    killer[MAXIMISING] = uint64_t{1} << cell;
                    return score;
                }
            }
            if (!bounding) {
                bounding = true;
                turnable = Sets::turnable(mover, waiting);
                anchors = Sets::anchorsOf(waiting, mover);
                const uint64_t others = targets & ~(uint64_t{1} << cell);
                if (others == 0) {
                    return at.best;
                }
                const int32_t bound =
                    boundOthers<MAXIMISING>(standing, others, std::max(rank, 0), turnable, anchors);
                if (futile(bound)) {
                    return improves<MAXIMISING>(bound, at.best) ? bound : at.best;
                }
            }
        }
    }
    return at.best;
}

// The value of the leaf after `cell`, or the best so far when it cannot
// beat that. A leaf is worth its table value while its side can move and
// the disc count once it cannot; whether it can is asked only when that
// could change the best and the two lie on different sides of the window
// (otherwise the nearer is a bound that holds either way).
template <typename Sets, bool MAXIMISING>
int32_t SearchEngine::leafValue(const Node<MAXIMISING>& at, int32_t cell, const Standing& standing,
                                bool answered) const {
    const uint64_t flips = Sets::flipsOf(cell, at.mover, at.waiting);
    const Standing leaf = evaluator.after<MAXIMISING>(standing, cell, flips);
    const int32_t table = Evaluation::tableValue(leaf);
    const int32_t counted = Evaluation::countedValue(leaf);
    if (!improves<MAXIMISING>(table, at.best) &&
        (answered || !improves<MAXIMISING>(counted, at.best))) {
        return at.best;
    }
    if (answered || table == counted) {
        return table;
    }
    const int32_t low = std::min(table, counted);
    const int32_t high = std::max(table, counted);
    if (low >= at.beta || high <= at.alpha) {
        return low >= at.beta ? low : high;
    }
    const uint64_t turned = flips | uint64_t{1} << cell;
    return Sets::canMove(at.waiting & ~turned, at.mover | turned) ? table : counted;
}

// A bound on all the replies but the first at once, as if any could be
// played on the best of their cells and turn every disc that some move
// turns.
template <bool MAXIMISING>
int32_t SearchEngine::boundOthers(const Standing& standing, uint64_t others, int32_t rank,
                                  uint64_t turnable, uint64_t anchors) const {
    // The best of them is among the first rank from `rank` on that holds any.
    while ((others & cellsOfRank[rank]) == 0) {
        ++rank;
    }
    int64_t placed = INT64_MIN;
    for (uint64_t rest = others & cellsOfRank[rank]; rest != 0; rest &= rest - 1) {
        placed = std::max(placed, evaluator.valueOf(__builtin_ctzll(rest)));
    }
    // A cell whose lines hold every anchor is on the lines of each of them.
    uint64_t unanswered = others;
    for (uint64_t rest = anchors; rest != 0 && unanswered != 0; rest &= rest - 1) {
        unanswered &= DiscSets::linesThrough(__builtin_ctzll(rest));
    }
    return evaluator.boundAfter<MAXIMISING>(standing, placed, others, turnable, unanswered == 0);
}
