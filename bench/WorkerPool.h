#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "rules/Board.h"

// The threads that play the ladder's and the tuner's games, each on a Board
// of its own. A Board loads pictures, so the pool makes them all up front,
// before any thread starts.
class WorkerPool {
  public:
    explicit WorkerPool(int32_t workers);

    // Calls job(board, i) for every i below `count`, each worker taking the
    // next index as it comes free, and returns when all are done. Whatever a
    // job writes should go to its own entry, so that the outcome does not
    // depend on which worker ran it.
    void run(size_t count, const std::function<void(Board&, size_t)>& job);

    // A board for work on the calling thread between runs.
    Board& board() { return boards.front(); }

    int32_t workers() const { return static_cast<int32_t>(boards.size()); }

  private:
    std::vector<Board> boards;
};
