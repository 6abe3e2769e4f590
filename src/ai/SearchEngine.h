#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "rules/Board.h"
#include "rules/Difficulty.h"

// The computer's alpha-beta search below the root, on two 64-bit disc sets
// (bit 8·x + y for cell (x, y)) copied from move to move, with its move lists
// on the stack. It searches the same tree as the plain search on move lists
// (same horizon, same leaf values, no passes), but orders the moves, keeps a
// transposition table and, next to the horizon, bounds the leaves that cannot
// reach the window instead of valuing them, so it visits a small fraction of
// the positions and values fewer still.
// What it returns is what the root needs to choose the plain search's move:
// the exact value when that lies strictly inside the window, and otherwise a
// bound on the side of the window where the value lies (fail-soft).
class SearchEngine {
  public:
    static constexpr int32_t WIN_SCORE = 3276700;
    static constexpr int32_t SCORE_LIMIT = 3276800;

    using Poll = bool (*)(void* context);
    // About a millisecond at the engine's ten to twenty million nodes a
    // second: often enough to feel instant, rarely enough to cost nothing.
    static constexpr uint64_t POLL_INTERVAL = 16384;

    SearchEngine() = default;
    SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty,
                 int32_t edgeWeight);

    // Forgets what earlier searches left in the transposition table, the
    // replies that cut off and that an earlier search was given up, so that
    // a search from a new root finds the same move and visits the same nodes
    // whatever came before.
    void startSearch();

    // The value of a node where the computer (MAXIMISING) or its opponent is
    // to move, given the discs of both, the window and the node's ply.
    template <bool MAXIMISING>
    int32_t search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta, int32_t ply);

    // What the root on move lists (and its fallback below) does with a
    // reply's score: the computer's nodes (MAXIMISING) keep the highest score and cut
    // at beta, the opponent's the lowest and cut at alpha. Equality counts,
    // so among equal scores the later move wins.
    enum class Verdict { KEPT, TAKEN, CUT };
    template <bool MAXIMISING>
    static Verdict weigh(int32_t score, int32_t& best, int32_t& alpha, int32_t& beta) {
        if (MAXIMISING ? score < best : score > best) {
            return Verdict::KEPT;
        }
        best = score;
        if (MAXIMISING ? score >= beta : score <= alpha) {
            return Verdict::CUT;
        }
        if (MAXIMISING && score > alpha) {
            alpha = score;
        }
        if (!MAXIMISING && score < beta) {
            beta = score;
        }
        return Verdict::TAKEN;
    }

    // The window (low, high) for a node's next reply. A reply search that is
    // cut off returns only a bound. At the root a bound equal to the best so
    // far would pass for a tie and hand the move to a possibly much worse
    // later one, so there, once a move has been scored, the window is one
    // wider than the best: a true tie still comes back exact.
    template <bool MAXIMISING>
    static void replyWindow(int32_t ply, bool scored, int32_t best, int32_t& low, int32_t& high) {
        if (ply == 0 && scored) {
            (MAXIMISING ? low : high) = MAXIMISING ? best - 1 : best + 1;
        }
    }

    int32_t evaluate(uint64_t computer, uint64_t opponent) const;
    int32_t edgeTerm(uint64_t computer, uint64_t opponent) const;

    // A finished game, by the discs each side has: won, drawn or lost
    // whatever the margin.
    static int32_t finalScore(int32_t mine, int32_t others) {
        return mine > others ? WIN_SCORE : mine < others ? -WIN_SCORE : 0;
    }

    // Counts one node and, every POLL_INTERVAL nodes, asks the poll whether
    // to give up; once it has said so, abandoned() stays true until the
    // next startSearch.
    void countNode() {
        ++nodes;
        if (poll != nullptr && nodes % POLL_INTERVAL == 0 && !giveUp) {
            giveUp = poll(pollContext);
        }
    }
    bool abandoned() const { return giveUp; }
    void setPoll(Poll callback, void* context) {
        poll = callback;
        pollContext = context;
    }
    uint64_t nodeCount() const { return nodes; }
    void resetNodeCount() { nodes = 0; }

    // Positions the transposition table holds; 32 bytes each. Half a
    // megabyte stays in the processor's second-level cache, and a larger
    // table saves too few positions to pay for reaching further out.
    static constexpr uint64_t TABLE_ENTRIES = uint64_t{1} << 14;

  private:
    // What one search learnt about a position with `remaining` plies to the
    // horizon: its value lies in [lower, upper], and `best` (a cell, or 64
    // for none) was its best move. Entries of an earlier search (another
    // `generation`) count as empty.
    struct Entry {
        uint64_t computer;
        uint64_t opponent;
        int32_t lower;
        int32_t upper;
        uint32_t generation;
        uint8_t remaining;
        bool computerMoves;
        uint8_t best;
    };
    // Nodes this far from the horizon that know no best move yet find one
    // with a search two plies shallower.
    static constexpr int32_t DEEPENING_FROM = 4;
    // Nodes this far from the horizon also order their moves by how few
    // replies they leave.
    static constexpr int32_t MOBILITY_FROM = 4;
    // Nodes this far from the horizon or further use the table; nearer,
    // searching a position again costs less than looking it up.
    static constexpr int32_t TABLE_FROM = 3;
    // Nodes up to this far from the horizon rank their moves by the cell
    // played alone.
    static constexpr int32_t RANKED_BY_CELL = 3;

    // What a position is valued from, carried from each position to the
    // next: the table sum, the computer's lead in discs, and on hard the
    // border term and the border lines of both sides (a byte per line).
    struct Standing {
        int64_t sum;
        int32_t edge;
        uint32_t computerLines;
        uint32_t opponentLines;
        int32_t lead;
    };
    struct Moves;

    template <bool MAXIMISING>
    int32_t node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta, int32_t remaining,
                 const Standing& standing);
    template <bool MAXIMISING>
    int32_t frontier(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                     const Standing& standing);
    int64_t tableSum(uint64_t computer, uint64_t opponent) const;
    int64_t tableSumOf(uint64_t discs) const;
    Standing standingOf(uint64_t computer, uint64_t opponent) const;
    int32_t edgeOfLines(uint32_t computerLines, uint32_t opponentLines) const;
    template <bool MAXIMISING>
    Standing after(const Standing& before, int32_t cell, uint64_t flips) const;
    // What a move might gain besides its own cell.
    struct Reach {
        int64_t positive;
        uint32_t lines;
        uint64_t discs;
    };
    Reach reachOf(uint64_t discs) const;
    template <bool MAXIMISING>
    int32_t boundAfter(const Standing& before, int64_t placed, uint32_t placedLines,
                       const Reach& reach, bool answered) const;
    int64_t positiveSumOf(uint64_t discs) const;
    // A position's value while its side to move can move (the edge is 0
    // but on hard), and once it cannot.
    static int32_t tableValue(const Standing& standing);
    static int32_t countedValue(const Standing& standing) { return finalScore(standing.lead, 0); }
    Entry& entryOf(uint64_t computer, uint64_t opponent, bool computerMoves) const;

    // The bit sets the search asks for, four directions at a time where the
    // processor can.
    uint64_t movesOf(uint64_t own, uint64_t opposing) const;
    bool canMove(uint64_t own, uint64_t opposing) const;
    uint64_t flipsOf(int32_t cell, uint64_t own, uint64_t opposing) const;
    uint64_t turnable(uint64_t own, uint64_t opposing) const;
    uint64_t anchorsOf(uint64_t own, uint64_t opposing) const;

    // Table sum of one column's eight cells for each byte of discs, and the
    // same for the whole board summed in 64 bits so no table can overflow.
    int64_t columnValue[8][256] = {};
    // The same counting only the cells of positive value.
    int64_t positiveColumnValue[8][256] = {};
    int64_t cellValue[64] = {};
    // Cells grouped by their table value, highest first: the order in which
    // the nodes near the horizon try their moves.
    static constexpr int32_t MAX_RANKS = 12;
    uint64_t cellsOfRank[MAX_RANKS] = {};
    int32_t cellRanks = 0;
    // The reply that last cut off a node next to the horizon, as a bit,
    // where the opponent (0) or the computer (1) was to move.
    uint64_t cutBy[2] = {};
    int64_t horizon = 0;
    int32_t difficulty = 0;
    int32_t edgeWeight = 0;
    // Whether the processor has what WideDiscSets needs.
    bool wide = false;
    uint64_t nodes = 0;
    Poll poll = nullptr;
    void* pollContext = nullptr;
    bool giveUp = false;
    // Allocated zeroed, so the system hands over untouched pages without
    // writing them: a short game never pays for the whole table.
    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };
    std::unique_ptr<Entry, Free> table;
    uint32_t generation = 1;
};
