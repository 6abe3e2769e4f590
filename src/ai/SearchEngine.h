#pragma once

#include "ai/Evaluation.h"
#include "ai/TranspositionTable.h"

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
    static constexpr int32_t SCORE_LIMIT = 3276800;

    using Poll = bool (*)(void* context);
    // About a millisecond at the engine's ten to twenty million nodes a
    // second: often enough to feel instant, rarely enough to cost nothing.
    static constexpr uint64_t POLL_INTERVAL = 16384;

    SearchEngine(const int32_t (&values)[8][8], int32_t depth, int32_t difficulty);

    // Forgets the table's entries, the killer replies and that a search was
    // given up: a search from a new root owes nothing to what came before.
    void startSearch();

    // The value of a node where the computer (MAXIMISING) or its opponent is
    // to move, given the discs of both, the window and the node's ply.
    template <bool MAXIMISING>
    int32_t search(uint64_t computer, uint64_t opponent, int32_t alpha, int32_t beta, int32_t ply);

    const Evaluation& evaluation() const { return evaluator; }

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

  private:
    using Standing = Evaluation::Standing;
    using Entry = TranspositionTable::Entry;
    static constexpr uint8_t NO_MOVE = 64;
    // Nodes this far from the horizon that know no best move yet find one
    // with a search two plies shallower (internal iterative deepening).
    static constexpr int32_t DEEPENING_FROM = 4;
    // Nodes this far from the horizon also order their moves by how few
    // replies they leave (mobility).
    static constexpr int32_t MOBILITY_FROM = 4;
    // Nodes this far from the horizon or further use the table; nearer,
    // searching a position again costs less than looking it up.
    static constexpr int32_t TABLE_FROM = 3;
    // Nodes up to this far from the horizon rank their moves by the cell
    // played alone.
    static constexpr int32_t RANKED_BY_CELL = 3;

    template <bool MAXIMISING>
    struct Node;
    struct Moves;

    // The steps of a node, each compiled for the disc sets (Sets) chosen
    // once per search: DiscSets, or WideDiscSets where the processor can.
    template <typename Sets, bool MAXIMISING>
    int32_t node(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta, int32_t remaining,
                 const Standing& standing);
    template <typename Sets, bool MAXIMISING>
    void searchByRank(Node<MAXIMISING>& at, uint64_t targets, const Standing& standing);
    template <typename Sets, bool MAXIMISING>
    void searchByPromise(Node<MAXIMISING>& at, uint64_t targets, const Standing& standing);
    template <typename Sets, bool MAXIMISING>
    void order(const Node<MAXIMISING>& at, uint64_t targets, const Standing& standing,
               Moves& moves) const;
    template <typename Sets, bool MAXIMISING>
    bool tryMove(Node<MAXIMISING>& at, int32_t cell, uint64_t flips, const Standing& next);
    template <typename Sets, bool MAXIMISING>
    int32_t searchRest(const Node<MAXIMISING>& at, uint64_t left, uint64_t moved,
                       const Standing& next);
    template <typename Sets, bool MAXIMISING>
    int32_t frontier(uint64_t mover, uint64_t waiting, int32_t alpha, int32_t beta,
                     const Standing& standing);
    template <typename Sets, bool MAXIMISING>
    [[gnu::always_inline]] inline int32_t leafValue(const Node<MAXIMISING>& at, int32_t cell,
                                                    const Standing& standing, bool answered) const;
    template <bool MAXIMISING>
    int32_t boundOthers(const Standing& standing, uint64_t others, int32_t rank, uint64_t turnable,
                        uint64_t anchors) const;

    Evaluation evaluator;
    TranspositionTable table;
    // Cells grouped by their table value, highest first: the order in which
    // the nodes near the horizon try their moves.
    static constexpr int32_t MAX_RANKS = 12;
    uint64_t cellsOfRank[MAX_RANKS] = {};
    int32_t cellRanks = 0;
    // The killer reply, as a bit: the last to cut off a node next to the
    // horizon where the opponent (0) or the computer (1) was to move.
    uint64_t killer[2] = {};
    int64_t horizon = 0;
    bool wide = false;
    uint64_t nodes = 0;
    Poll poll = nullptr;
    void* pollContext = nullptr;
    bool giveUp = false;
};
