#pragma once

#include <cstdint>

#include "rules/Board.h"

// The computer's alpha-beta search below the root, on two 64-bit disc sets
// (bit 8·x + y for cell (x, y)) copied from move to move instead of a Board
// with move lists played and taken back. It visits the same positions in the
// same order with the same comparisons as the search on move lists, so it
// finds the same move, score and node count, but allocates nothing and keeps
// its lists on the stack.
class SearchEngine {
  public:
    using Poll = bool (*)(void* context);
    // About a millisecond and a half at the engine's 20-odd million nodes a
    // second: often enough to feel instant, rarely enough to cost nothing.
    static constexpr uint64_t POLL_INTERVAL = 32768;

    SearchEngine() = default;
    SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty,
                 int32_t edgeWeight);

    // The value of a node where the computer (MAXIMISING) or its opponent is
    // to move, given the discs of both, the window and the node's ply.
    template <bool MAXIMISING>
    int32_t search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta, int32_t ply);

    // What a node does with a reply's score, on move lists and disc sets
    // alike: the computer's nodes (MAXIMISING) keep the highest score and cut
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

    // The cells of `board` that hold `value`.
    static uint64_t discsOf(const Board& board, int32_t value);

    // Counts one node and, every POLL_INTERVAL nodes, asks the poll whether
    // to give up; once it has said so, abandoned() stays true until reset.
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
    void resetAbandoned() { giveUp = false; }

  private:
    template <bool MAXIMISING>
    int32_t node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta, int32_t ply);

    // Table sum of one column's eight cells for each byte of discs, and the
    // same for the whole board summed in 64 bits so no table can overflow.
    int64_t columnValue[8][256] = {};
    int64_t horizon = 0;
    int32_t difficulty = 0;
    int32_t edgeWeight = 0;
    uint64_t nodes = 0;
    Poll poll = nullptr;
    void* pollContext = nullptr;
    bool giveUp = false;
};
