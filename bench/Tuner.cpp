#include "Tuner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Tuner::Tuner(const TunerOptions& options, TableEvaluation& evaluation, TuneLog& log,
             const std::vector<matches::Opening>& training)
    : options(options),
      evaluation(evaluation),
      log(log),
      start(std::chrono::steady_clock::now()),
      random(options.seed) {
    const auto middle = training.begin() + options.train / 2;
    train[0].assign(training.begin(), middle);
    train[1].assign(middle, training.end());
}

// Scores a table on one half of the training openings: only `settings` are
// played, the others are taken from `unchanged`.
PartnerScores Tuner::score(const SymmetricTable& table, int32_t half,
                           const std::vector<int32_t>& settings, const PartnerScores& unchanged) {
    const std::string path = options.out + "/candidate.brd";
    table.write(path);
    PartnerScores scores =
        evaluation.run(path, train[half], settings, options.tuneKinds, options.deepOpenings);
    std::vector<int32_t> rest;
    for (int32_t s = 0; s < matches::SETTINGS; ++s) {
        if (std::find(settings.begin(), settings.end(), s) == settings.end()) {
            rest.push_back(s);
        }
    }
    scores.keep(unchanged, rest);
    ++evaluations;
    return scores;
}

double Tuner::objective(const PartnerScores& scores) const {
    return scores.objective(options.settings, options.tuneKinds);
}

// Better on one half: a higher objective, and no setting more than GUARD
// points below where the start table had it.
bool Tuner::better(const PartnerScores& candidate, int32_t half) const {
    static constexpr double GUARD = 6;
    for (const int32_t s : options.settings) {
        if (candidate.ofSetting(s, options.tuneKinds) <
            startScores[half].ofSetting(s, options.tuneKinds) - GUARD) {
            return false;
        }
    }
    return objective(candidate) > objective(bestScores[half]) + 1e-9;
}

bool Tuner::attempt(const SymmetricTable& candidate, const std::string& what,
                    const std::vector<int32_t>& settings) {
    PartnerScores scores[2];
    scores[0] = score(candidate, 0, settings, bestScores[0]);
    bool taken = better(scores[0], 0);
    bool both = taken;
    if (taken) {
        scores[1] = score(candidate, 1, settings, bestScores[1]);
        taken = better(scores[1], 1);
    }
    if (taken) {
        take(candidate, scores);
    }
    show(what, scores, both, taken, candidate);
    return taken;
}

void Tuner::take(const SymmetricTable& table, const PartnerScores (&scores)[2]) {
    best = table;
    bestScores[0] = scores[0];
    bestScores[1] = scores[1];
    best.write(options.out + "/tuned.brd");  // kept should the run be cut short
}

// One line of the log: what was tried, its objective on the first half and,
// when it got that far, on the second, and whether it was taken.
void Tuner::show(const std::string& what, const PartnerScores (&scores)[2], bool both, bool taken,
                 const SymmetricTable& candidate) {
    std::string second = "   -  ";
    if (both) {
        char text[16];
        std::snprintf(text, sizeof text, "%6.2f", objective(scores[1]));
        second = text;
    }
    const double elapsed = since(start);
    const double left =
        elapsed / std::max(evaluations, 1) * std::max(options.evaluations - evaluations, 0);
    log.say("[%3d/%d %5.1f min, ~%.0f min left] %-28s %6.2f %s %s  best %6.2f %6.2f | %s\n",
            evaluations, options.evaluations, elapsed / 60, left / 60, what.c_str(),
            objective(scores[0]), second.c_str(), taken ? "taken" : "     ",
            objective(bestScores[0]), objective(bestScores[1]), candidate.line().c_str());
}

// One step of all eleven at once, `length` long: number i up or down by its
// own step (a fifth of itself, and no less than a fiftieth of the largest),
// as signs[i] says, and then the whole table a quarter of an octave larger
// or smaller, as signs[PARAMETERS] says.
SymmetricTable Tuner::jointStep(const SymmetricTable& from, const int32_t (&signs)[DIRECTIONS],
                                double length) {
    SymmetricTable to;
    const double floor = 0.02 * from.largest();
    for (int32_t i = 0; i < SymmetricTable::PARAMETERS; ++i) {
        const double step = std::max(0.2 * std::abs(from.value[i]), floor);
        to.value[i] = static_cast<int32_t>(std::lround(from.value[i] + signs[i] * length * step));
    }
    // and fitted within the limit
    return to.scaled(std::exp2(signs[SymmetricTable::PARAMETERS] * length * SCALE_STEP));
}

// Tries `step(sign · length)` for sign +1, then -1 when that does not help;
// after a step that helps, a longer one the same way, until one does not.
// Returns the length of the last step taken, 0 for none.
template <typename Step>
double Tuner::climb(Step step, double length, const std::vector<int32_t>& settings) {
    for (const int32_t sign : {+1, -1}) {
        double taken = 0;
        for (double along = length; evaluations < options.evaluations; along *= 1.5) {
            std::string what;
            const SymmetricTable candidate = step(sign * along, what);
            if (candidate == best || !attempt(candidate, what, settings)) {
                break;
            }
            taken = along;
        }
        if (taken > 0) {
            return taken;
        }
    }
    return 0;
}

SymmetricTable Tuner::tune(const SymmetricTable& first) {
    best = first;
    for (int32_t half = 0; half < 2; ++half) {
        startScores[half] = score(first, half, options.settings, PartnerScores());
        bestScores[half] = startScores[half];
    }
    log.say("[%3d/%d] start: %6.2f %6.2f | %s\n", evaluations, options.evaluations,
            objective(startScores[0]), objective(startScores[1]), first.line().c_str());
    std::vector<int32_t> hard;
    for (const int32_t s : options.settings) {
        if (matches::SETTING[s].difficulty == 2) {
            hard.push_back(s);
        }
    }
    sweepScale(first, hard);
    climbRounds(hard);
    return best;
}

// Only hard weighs the table against something fixed (its border term), so
// a multiple of the table changes hard alone: easy and normal compare table
// sums, which it keeps in the same order, and so play the same games. First
// the scale, hard alone: halved, then doubled as far as the limit allows and
// the limit itself, each on both halves; the best on the two together is
// taken when it does better on each.
void Tuner::sweepScale(const SymmetricTable& first, const std::vector<int32_t>& hard) {
    const double room = static_cast<double>(SymmetricTable::TOTAL_LIMIT) /
                        static_cast<double>(std::max<int64_t>(first.total(), 1));
    std::vector<double> factors = {0.5};
    for (double factor = 2; factor < room; factor *= 2) {
        factors.push_back(factor);
    }
    factors.push_back(room);
    SymmetricTable chosen = first;
    PartnerScores chosenScores[2];
    double chosenSum = 0;
    for (const double factor : factors) {
        if (hard.empty() || evaluations + 2 > options.evaluations) {
            break;
        }
        const SymmetricTable candidate = first.scaled(factor);
        PartnerScores scores[2];
        for (int32_t half = 0; half < 2; ++half) {
            scores[half] = score(candidate, half, hard, bestScores[half]);
        }
        const bool wins = better(scores[0], 0) && better(scores[1], 1);
        const double sum = objective(scores[0]) + objective(scores[1]);
        char what[32];
        std::snprintf(what, sizeof what, "scale x%.3g", factor);
        show(what, scores, true, false, candidate);
        if (wins && sum > chosenSum) {
            chosen = candidate;
            chosenScores[0] = scores[0];
            chosenScores[1] = scores[1];
            chosenSum = sum;
        }
    }
    if (chosenSum > 0) {
        take(chosen, chosenScores);
        log.say("taken: %s\n", best.line().c_str());
    }
}

// Then rounds of steps that move every number and the scale at once, the
// signs drawn at random as SPSA draws its perturbations: the one-at-a-time
// steps cannot follow a direction that needs several numbers to move
// together. Each round also tries the scale alone (hard alone, cheap). A
// length that helped grows, one that did not shrinks.
void Tuner::climbRounds(const std::vector<int32_t>& hard) {
    double length = 1;
    double scaleLength = 1;
    for (int32_t round = 1; evaluations < options.evaluations; ++round) {
        log.say("round %d\n", round);
        if (!hard.empty()) {
            const auto scale = [this](double along, std::string& what) {
                const double factor = std::exp2(along * SCALE_STEP);
                char text[32];
                std::snprintf(text, sizeof text, "scale x%.3f", factor);
                what = text;
                return best.scaled(factor);
            };
            const double taken = climb(scale, scaleLength, hard);
            scaleLength =
                taken > 0 ? std::min(taken * 1.5, 4.0) : std::max(scaleLength * 0.5, 0.25);
        }
        for (int32_t pair = 0; pair < 4 && evaluations < options.evaluations; ++pair) {
            int32_t signs[DIRECTIONS];
            for (int32_t& sign : signs) {
                sign = (random() & 1) != 0 ? 1 : -1;
            }
            const auto joint = [this, &signs](double along, std::string& what) {
                char text[48];
                int32_t at = std::snprintf(text, sizeof text, "all %.2f ", std::abs(along));
                for (const int32_t sign : signs) {
                    text[at++] = sign * along > 0 ? '+' : '-';
                }
                text[at] = 0;
                what = text;
                return jointStep(best, signs, along);
            };
            const double taken = climb(joint, length, options.settings);
            length = taken > 0 ? std::min(taken * 1.5, 4.0) : std::max(length * 0.8, 0.3);
        }
    }
}
