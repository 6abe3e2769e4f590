#include "PartnerScores.h"

#include <algorithm>

double PartnerScores::of(int32_t setting, int32_t kind) const {
    return 100 * points[setting][kind] / std::max(games[setting][kind], 1);
}

double PartnerScores::ofSetting(int32_t setting, const std::vector<int32_t>& kinds) const {
    double total = 0;
    for (const int32_t kind : kinds) {
        total += of(setting, kind);
    }
    return total / static_cast<double>(kinds.size());
}

double PartnerScores::average(const std::vector<int32_t>& settings,
                              const std::vector<int32_t>& kinds) const {
    double total = 0;
    for (const int32_t s : settings) {
        total += ofSetting(s, kinds);
    }
    return total / static_cast<double>(settings.size());
}

double PartnerScores::objective(const std::vector<int32_t>& settings,
                                const std::vector<int32_t>& kinds) const {
    double total = 0;
    int32_t weights = 0;
    for (const int32_t s : settings) {
        const int32_t weight = matches::SETTING[s].difficulty == 2 ? 2 : 1;
        total += weight * ofSetting(s, kinds);
        weights += weight;
    }
    return total / weights;
}

void PartnerScores::keep(const PartnerScores& from, const std::vector<int32_t>& settings) {
    for (const int32_t s : settings) {
        for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
            points[s][k] = from.points[s][k];
            games[s][k] = from.games[s][k];
        }
    }
}

PartnerScores PartnerScores::plus(const PartnerScores& other) const {
    PartnerScores both = *this;
    for (int32_t s = 0; s < matches::SETTINGS; ++s) {
        for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
            both.points[s][k] += other.points[s][k];
            both.games[s][k] += other.games[s][k];
        }
    }
    return both;
}
