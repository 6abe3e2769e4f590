#pragma once

#include "ai/PositionValues.h"
#include "ai/SearchEngine.h"
#include "rules/MoveList.h"

// The computer opponent: a depth-limited alpha-beta search from the Game's
// Board, which it leaves as it found it. Scores are always from the
// computer's point of view (plain minimax), and the same position, depth and
// difficulty always give the same move.
class ComputerPlayer {
  public:
    static constexpr int32_t WIN_SCORE = Evaluation::WIN_SCORE;
    static constexpr int32_t SCORE_LIMIT = SearchEngine::SCORE_LIMIT;

    // Reads the cell values from `path` (a missing file is reported on
    // standard error and leaves the table at zero) and never fails.
    ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty, int32_t side);

    // Plays one move of `moves` on its Board; always returns 1.
    int32_t play(MoveList* moves);
    int32_t searchMax(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply, int32_t& bestX,
                      int32_t& bestY);
    int32_t searchMin(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply, int32_t& bestX,
                      int32_t& bestY);
    int32_t evaluate(const Board& board);
    int32_t edgeTerm(const Board& board);
    int32_t finalScore(MoveList* moves);

    // Called by the search every POLL_INTERVAL nodes;
    // returning true abandons the search: play then leaves the Board exactly
    // as it was and plays nothing (it still returns 1).
    using Poll = SearchEngine::Poll;
    static constexpr uint64_t POLL_INTERVAL = SearchEngine::POLL_INTERVAL;
    void setPoll(Poll callback, void* context) { engine.setPoll(callback, context); }

    // Positions the search has visited (the root's, each position below it
    // and each position valued at the horizon) since construction or the
    // last reset.
    uint64_t nodeCount() const { return engine.nodeCount(); }
    void resetNodeCount() { engine.resetNodeCount(); }

  private:
    // searchMax (MAXIMISING) and searchMin are one node walk with mirrored
    // sides, bounds and comparisons.
    template <bool MAXIMISING>
    int32_t searchNode(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply, int32_t& bestX,
                       int32_t& bestY);

    int32_t depth;
    int32_t difficulty;
    PositionValues values;
    int32_t side;
    // The search below the root, on disc sets; it also counts the nodes.
    SearchEngine engine;
};
