#include "TableEvaluation.h"

PartnerScores TableEvaluation::run(const std::string& tablePath,
                                   const std::vector<matches::Opening>& openings,
                                   const std::vector<int32_t>& settings,
                                   const std::vector<int32_t>& kinds, int32_t deepOpenings) {
    std::vector<matches::Game> played =
        matches::schedule(1, settings, kinds, static_cast<int32_t>(openings.size()), deepOpenings);
    matches::playAll(pool, played, openings, {tablePath});
    PartnerScores scores;
    for (const matches::Game& g : played) {
        scores.points[g.setting][g.kind] += g.points;
        ++scores.games[g.setting][g.kind];
    }
    games += static_cast<int64_t>(played.size());
    return scores;
}
