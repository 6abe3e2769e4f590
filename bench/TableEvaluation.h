#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Matches.h"
#include "PartnerScores.h"
#include "WorkerPool.h"

// Scores a table: every game of the given settings against the given
// partners from each opening with both colours, played on the pool.
class TableEvaluation {
  public:
    explicit TableEvaluation(WorkerPool& pool) : pool(pool) {}

    // The depth-7 settings play the first `deepOpenings` openings only.
    PartnerScores run(const std::string& tablePath, const std::vector<matches::Opening>& openings,
                      const std::vector<int32_t>& settings, const std::vector<int32_t>& kinds,
                      int32_t deepOpenings);

    int64_t gamesPlayed() const { return games; }

  private:
    WorkerPool& pool;
    int64_t games = 0;
};
