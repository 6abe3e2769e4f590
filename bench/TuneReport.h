#pragma once

#include <cstdint>
#include <vector>

#include "PartnerScores.h"
#include "TuneLog.h"
#include "TunerOptions.h"

// The tuner's tables of scores before and after: each setting against each
// of the given partners, each difficulty on average, and the averages and
// objective that sum them up.
class TuneReport {
  public:
    TuneReport(TuneLog& log, const TunerOptions& options) : log(log), options(options) {}

    void print(const std::vector<int32_t>& kinds, const char* title, const PartnerScores& before,
               const PartnerScores& after);

  private:
    void settingRows(const std::vector<int32_t>& kinds, const PartnerScores& before,
                     const PartnerScores& after);
    void levelRows(const std::vector<int32_t>& kinds, const PartnerScores& before,
                   const PartnerScores& after);
    void summary(const std::vector<int32_t>& kinds, const PartnerScores& before,
                 const PartnerScores& after);

    TuneLog& log;
    const TunerOptions& options;
};
