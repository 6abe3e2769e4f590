#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PartnerScores.h"
#include "SymmetricTable.h"
#include "TableEvaluation.h"
#include "TuneLog.h"
#include "TunerOptions.h"

// The climb over the table's ten numbers and its scale. A candidate is
// played on the first half of the training openings and, only when it does
// better there, on the second: it is taken when it does better on both. A
// fixed set of deterministic games rewards lucky changes; one that was
// lucky on one half is seldom lucky on the other.
class Tuner {
  public:
    Tuner(const TunerOptions& options, TableEvaluation& evaluation, TuneLog& log,
          const std::vector<matches::Opening>& training);

    // The best table found within the options' evaluations, from `first`;
    // it is written to tuned.brd in the output folder after every step
    // taken, so that a run cut short keeps it.
    SymmetricTable tune(const SymmetricTable& first);

    // The start table's and the best table's scores on all the training
    // openings.
    PartnerScores startTraining() const { return startScores[0].plus(startScores[1]); }
    PartnerScores bestTraining() const { return bestScores[0].plus(bestScores[1]); }

  private:
    // The eleven directions of a joint step: the ten numbers and the scale.
    static constexpr int32_t DIRECTIONS = SymmetricTable::PARAMETERS + 1;
    static constexpr double SCALE_STEP = 0.25;  // in powers of two

    PartnerScores score(const SymmetricTable& table, int32_t half,
                        const std::vector<int32_t>& settings, const PartnerScores& unchanged);
    double objective(const PartnerScores& scores) const;
    bool better(const PartnerScores& candidate, int32_t half) const;
    bool attempt(const SymmetricTable& candidate, const std::string& what,
                 const std::vector<int32_t>& settings);
    void take(const SymmetricTable& table, const PartnerScores (&scores)[2]);
    void show(const std::string& what, const PartnerScores (&scores)[2], bool both, bool taken,
              const SymmetricTable& candidate);
    static SymmetricTable jointStep(const SymmetricTable& from, const int32_t (&signs)[DIRECTIONS],
                                    double length);
    template <typename Step>
    double climb(Step step, double length, const std::vector<int32_t>& settings);
    void sweepScale(const SymmetricTable& first, const std::vector<int32_t>& hard);
    void climbRounds(const std::vector<int32_t>& hard);

    const TunerOptions& options;
    TableEvaluation& evaluation;
    TuneLog& log;
    std::vector<matches::Opening> train[2];
    std::chrono::steady_clock::time_point start;
    std::mt19937 random;
    int32_t evaluations = 0;
    SymmetricTable best;
    PartnerScores startScores[2];
    PartnerScores bestScores[2];
};
