#include "TuneReport.h"

void TuneReport::print(const std::vector<int32_t>& kinds, const char* title,
                       const PartnerScores& before, const PartnerScores& after) {
    log.say("\n%s\n\n| setting | before | after | change |", title);
    for (const int32_t kind : kinds) {
        log.say(" %s before | after |", SparringPartner::ROSTER[kind].name);
    }
    log.say("\n|---|---|---|---|");
    for (size_t k = 0; k < kinds.size(); ++k) {
        log.say("---|---|");
    }
    log.say("\n");
    settingRows(kinds, before, after);
    levelRows(kinds, before, after);
    summary(kinds, before, after);
}

void TuneReport::settingRows(const std::vector<int32_t>& kinds, const PartnerScores& before,
                             const PartnerScores& after) {
    for (const int32_t s : options.settings) {
        const double b = before.ofSetting(s, options.tuneKinds);
        const double a = after.ofSetting(s, options.tuneKinds);
        log.say("| %s | %.1f | %.1f | %+.1f |", matches::label(s).c_str(), b, a, a - b);
        for (const int32_t kind : kinds) {
            log.say(" %.1f | %.1f |", before.of(s, kind), after.of(s, kind));
        }
        log.say("\n");
    }
}

// Each difficulty's settings on average.
void TuneReport::levelRows(const std::vector<int32_t>& kinds, const PartnerScores& before,
                           const PartnerScores& after) {
    for (int32_t level = 0; level < 3; ++level) {
        std::vector<int32_t> of;
        for (const int32_t s : options.settings) {
            if (matches::SETTING[s].difficulty == level) {
                of.push_back(s);
            }
        }
        if (of.empty()) {
            continue;
        }
        const double b = before.average(of, options.tuneKinds);
        const double a = after.average(of, options.tuneKinds);
        log.say("| **%s** | %.1f | %.1f | %+.1f |", matches::LEVELS[level], b, a, a - b);
        for (const int32_t kind : kinds) {
            log.say(" %.1f | %.1f |", before.average(of, {kind}), after.average(of, {kind}));
        }
        log.say("\n");
    }
}

void TuneReport::summary(const std::vector<int32_t>& kinds, const PartnerScores& before,
                         const PartnerScores& after) {
    const double b = before.average(options.settings, options.tuneKinds);
    const double a = after.average(options.settings, options.tuneKinds);
    log.say("\naverage against the searchers: %.1f -> %.1f (%+.1f)\n", b, a, a - b);
    const double was = before.objective(options.settings, options.tuneKinds);
    const double is = after.objective(options.settings, options.tuneKinds);
    log.say("the objective (hard's settings counted twice): %.1f -> %.1f (%+.1f)\n", was, is,
            is - was);
    if (kinds.size() > options.tuneKinds.size()) {
        const double all = after.average(options.settings, kinds);
        const double wasAll = before.average(options.settings, kinds);
        log.say("average against all partners: %.1f -> %.1f (%+.1f)\n", wasAll, all, all - wasAll);
    }
}
