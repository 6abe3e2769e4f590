#pragma once

#include <cstdint>
#include <vector>

#include "Matches.h"

// Points per setting and partner, and the games they come from.
struct PartnerScores {
    double points[matches::SETTINGS][SparringPartner::KINDS] = {};
    int32_t games[matches::SETTINGS][SparringPartner::KINDS] = {};

    // A setting's score against one partner, and against the given partners
    // on average, out of 100.
    double of(int32_t setting, int32_t kind) const;
    double ofSetting(int32_t setting, const std::vector<int32_t>& kinds) const;
    // The given settings' scores on average.
    double average(const std::vector<int32_t>& settings, const std::vector<int32_t>& kinds) const;
    // What the tuner climbs: the settings' average with hard's counted
    // again, so that a table cannot buy easy's points with hard's.
    double objective(const std::vector<int32_t>& settings, const std::vector<int32_t>& kinds) const;

    // Takes the scores of the given settings from `from`.
    void keep(const PartnerScores& from, const std::vector<int32_t>& settings);
    // These games and `other`'s counted together.
    PartnerScores plus(const PartnerScores& other) const;
};
