// The value-table tuner (make tune): a climb over a table that keeps the
// board's eight symmetries, ten numbers and their common scale, scored by the
// average score of the nine menu settings, hard's three counted twice,
// against the sparring partners. It tunes on one set of seeded openings and
// reports on another that shares no position with it (under the
// symmetries), so the figure it reports was not tuned for.
//
//   vantrixo_tune [--seed N] [--evaluations N] [--train N] [--held-out N]
//                 [--deep-openings N] [--jobs N] [--settings 0,3,6]
//                 [--from FILE] [--out DIR] [--smoke] [--report FILE]
//
// --train counts the training openings (two halves, see Tuner::attempt),
// --evaluations the half-sets of games played, --deep-openings how many
// openings of each half the depth-7 settings play, --settings which menu
// settings (0-8: easy 3, 5, 7, normal 3, 5, 7, hard 3, 5, 7) count. The start
// table is --from (the first tuning's table); tuned.brd and tune.log go to
// --out.
// --smoke is a seconds-long run for the tests that also checks the partners;
// --report FILE tunes nothing and reports the start table against FILE (a
// run cut short, or any two tables) on the held-out openings.
//
// Run from the build directory (it reads data/). Every number it prints
// follows from the seed and the options: the games are deterministic and
// each is scored by its place in the list, whichever thread plays it.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Matches.h"
#include "WorkerPool.h"
#include "ai/PositionValues.h"

namespace {

using matches::Opening;
using matches::SETTINGS;
using Kinds = std::vector<int32_t>;

constexpr int32_t PARAMETERS = 10;
// The most that the 64 cells' magnitudes may add up to: with hard's border
// term at its most, no evaluation reaches a won game's score, so no position
// is ever valued as won or lost. It is what 50,000 a cell would give, but
// lets the corners grow where other cells stay small.
constexpr int64_t TOTAL_LIMIT = 64 * 50000;
constexpr int64_t BORDER_MOST = 4 * 8 * 1000;
static_assert(TOTAL_LIMIT + BORDER_MOST < ComputerPlayer::WIN_SCORE, "values too large");
// How many of the 64 cells each parameter holds.
constexpr int32_t CELLS[10] = {4, 8, 8, 8, 4, 8, 8, 4, 8, 4};
constexpr const char* PARAMETER_NAMES[PARAMETERS] = {
    "corner",          "edge by corner",         "edge 3rd",
    "edge middle",     "X (diagonal to corner)", "2nd ring 3rd",
    "2nd ring middle", "3rd ring diagonal",      "3rd ring middle",
    "centre"};

// A cell's parameter: fold the board onto one eighth of it.
int32_t parameterOf(int32_t x, int32_t y) {
    const int32_t a = std::min(x, 7 - x);
    const int32_t b = std::min(y, 7 - y);
    const int32_t low = std::min(a, b);
    const int32_t high = std::max(a, b);
    constexpr int32_t FIRST[4] = {0, 4, 7, 9};  // the index of (low, low)
    return FIRST[low] + high - low;
}

struct Table {
    int32_t value[PARAMETERS] = {};

    int64_t total() const {
        int64_t sum = 0;
        for (int32_t i = 0; i < PARAMETERS; ++i) {
            sum += CELLS[i] * static_cast<int64_t>(std::abs(value[i]));
        }
        return sum;
    }
};

std::string tableText(const Table& table) {
    std::string text;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            text += std::to_string(table.value[parameterOf(x, y)]) + (x < 7 ? " " : "\n");
        }
    }
    return text;
}

void writeTable(const Table& table, const std::string& path) {
    std::ofstream(path) << tableText(table);
}

// Read through the game's own loader; a table that is not symmetric is
// folded to the average of each parameter's cells.
Table readTable(const std::string& path) {
    PositionValues values;
    values.loadValues(path);
    Table table;
    int32_t cells[PARAMETERS] = {};
    int64_t sums[PARAMETERS] = {};
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            sums[parameterOf(x, y)] += values.at(x, y);
            ++cells[parameterOf(x, y)];
        }
    }
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        table.value[i] = static_cast<int32_t>(std::lround(static_cast<double>(sums[i]) / cells[i]));
    }
    return table;
}

std::string tableLine(const Table& table) {
    std::string text;
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        text += (i > 0 ? " " : "") + std::to_string(table.value[i]);
    }
    return text;
}

// Points per setting and partner, and the games they come from.
struct Scores {
    double points[SETTINGS][SparringPartner::KINDS] = {};
    int32_t games[SETTINGS][SparringPartner::KINDS] = {};

    double of(int32_t setting, int32_t kind) const {
        return 100 * points[setting][kind] / std::max(games[setting][kind], 1);
    }
    // A setting's score over the given partners, out of 100.
    double ofSetting(int32_t setting, const Kinds& kinds) const {
        double total = 0;
        for (const int32_t kind : kinds) {
            total += of(setting, kind);
        }
        return total / static_cast<double>(kinds.size());
    }
    double average(const std::vector<int32_t>& settings, const Kinds& kinds) const {
        double total = 0;
        for (const int32_t s : settings) {
            total += ofSetting(s, kinds);
        }
        return total / static_cast<double>(settings.size());
    }
};

struct Options {
    uint32_t seed = matches::SEED;
    int32_t evaluations = 130;
    int32_t train = matches::TRAINING;
    int32_t heldOut = matches::HELD_OUT;
    int32_t jobs = 2;
    // Depth 7 tunes on the first this many openings of each half only: its
    // games cost the most.
    int32_t deepOpenings = 10;
    std::string from = VANTRIXO_BENCH_TABLES "/first-tuning.brd";
    std::string out = "tune";
    bool smoke = false;
    std::string report;  // a table to report against the start table, no tuning
    std::vector<int32_t> settings = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    Kinds tuneKinds = {2, 3};  // the searchers: random and greedy lose nearly every game
    Kinds reportKinds = {0, 1, 2, 3};
};

// Plays every game of the given settings against the given partners from
// each opening with both colours.
class Evaluation {
  public:
    explicit Evaluation(WorkerPool& pool) : pool(pool) {}

    Scores run(const std::string& tablePath, const std::vector<Opening>& openings,
               const std::vector<int32_t>& settings, const Kinds& kinds, int32_t deepOpenings) {
        std::vector<matches::Game> games = matches::schedule(
            1, settings, kinds, static_cast<int32_t>(openings.size()), deepOpenings);
        matches::playAll(pool, games, openings, {tablePath});
        Scores scores;
        for (const matches::Game& g : games) {
            scores.points[g.setting][g.kind] += g.points;
            ++scores.games[g.setting][g.kind];
        }
        gamesPlayed += static_cast<int64_t>(games.size());
        return scores;
    }

    int64_t gamesPlayed = 0;

  private:
    WorkerPool& pool;
};

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Copies the scores of the settings a candidate leaves unchanged.
void keepSettings(Scores& into, const Scores& from, const std::vector<int32_t>& settings) {
    for (const int32_t s : settings) {
        for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
            into.points[s][k] = from.points[s][k];
            into.games[s][k] = from.games[s][k];
        }
    }
}

class Tuner {
  public:
    Tuner(const Options& options, WorkerPool& pool, std::FILE* log)
        : evaluation(pool), options(options), log(log), start(std::chrono::steady_clock::now()) {}

    void say(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char text[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        std::fputs(text, stdout);
        std::fflush(stdout);
        std::fputs(text, log);
        std::fflush(log);
    }

    // Scores a table on one half of the training openings: only `settings`
    // are played, the others are taken from `unchanged`.
    Scores score(const Table& table, int32_t half, const std::vector<int32_t>& settings,
                 const Scores& unchanged) {
        const std::string path = options.out + "/candidate.brd";
        writeTable(table, path);
        Scores scores =
            evaluation.run(path, train[half], settings, options.tuneKinds, options.deepOpenings);
        std::vector<int32_t> rest;
        for (int32_t s = 0; s < SETTINGS; ++s) {
            if (std::find(settings.begin(), settings.end(), s) == settings.end()) {
                rest.push_back(s);
            }
        }
        keepSettings(scores, unchanged, rest);
        ++evaluations;
        return scores;
    }

    // The nine settings' average with hard's three counted again, so that a
    // table cannot buy easy's points with hard's.
    double objective(const Scores& scores) const {
        double total = 0;
        int32_t weights = 0;
        for (const int32_t s : options.settings) {
            const int32_t weight = matches::SETTING[s].difficulty == 2 ? 2 : 1;
            total += weight * scores.ofSetting(s, options.tuneKinds);
            weights += weight;
        }
        return total / weights;
    }

    // Better on one half: a higher objective, and no setting more than GUARD
    // points below where the start table had it.
    bool better(const Scores& candidate, int32_t half) const {
        static constexpr double GUARD = 6;
        for (const int32_t s : options.settings) {
            if (candidate.ofSetting(s, options.tuneKinds) <
                startScores[half].ofSetting(s, options.tuneKinds) - GUARD) {
                return false;
            }
        }
        return objective(candidate) > objective(bestScores[half]) + 1e-9;
    }

    // A candidate is played on the first half of the training openings and,
    // only when it does better there, on the second: it is taken when it
    // does better on both. A fixed set of deterministic games rewards lucky
    // changes; one that was lucky on one half is seldom lucky on the other.
    bool attempt(const Table& candidate, const std::string& what,
                 const std::vector<int32_t>& settings) {
        Scores scores[2];
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

    void take(const Table& table, const Scores (&scores)[2]) {
        best = table;
        bestScores[0] = scores[0];
        bestScores[1] = scores[1];
        writeTable(best, options.out + "/tuned.brd");  // kept should the run be cut short
    }

    // One line of the log: what was tried, its objective on the first half
    // and, when it got that far, on the second, and whether it was taken.
    void show(const std::string& what, const Scores (&scores)[2], bool both, bool taken,
              const Table& candidate) {
        std::string second = "   -  ";
        if (both) {
            char text[16];
            std::snprintf(text, sizeof text, "%6.2f", objective(scores[1]));
            second = text;
        }
        const double elapsed = since(start);
        const double left =
            elapsed / std::max(evaluations, 1) * std::max(options.evaluations - evaluations, 0);
        say("[%3d/%d %5.1f min, ~%.0f min left] %-28s %6.2f %s %s  best %6.2f %6.2f | %s\n",
            evaluations, options.evaluations, elapsed / 60, left / 60, what.c_str(),
            objective(scores[0]), second.c_str(), taken ? "taken" : "     ",
            objective(bestScores[0]), objective(bestScores[1]), tableLine(candidate).c_str());
    }

    static int32_t largest(const Table& table) {
        int32_t most = 1;
        for (const int32_t v : table.value) {
            most = std::max(most, std::abs(v));
        }
        return most;
    }

    // The table times `factor`, shrunk back within the limit if need be.
    static Table scaled(const Table& from, double factor) {
        const double total = static_cast<double>(std::max<int64_t>(from.total(), 1));
        factor = std::min(factor, static_cast<double>(TOTAL_LIMIT) / total);
        Table to;
        for (int32_t i = 0; i < PARAMETERS; ++i) {
            to.value[i] = static_cast<int32_t>(factor * from.value[i]);  // toward 0: fits
        }
        return to;
    }

    // One step of all eleven at once, `length` long: number i up or down by
    // its own step (a fifth of itself, and no less than a fiftieth of the
    // largest), as signs[i] says, and then the whole table a quarter of an
    // octave larger or smaller, as signs[PARAMETERS] says.
    static constexpr int32_t DIRECTIONS = PARAMETERS + 1;
    static constexpr double SCALE_STEP = 0.25;  // in powers of two
    static Table jointStep(const Table& from, const int32_t (&signs)[DIRECTIONS], double length) {
        Table to;
        const double floor = 0.02 * largest(from);
        for (int32_t i = 0; i < PARAMETERS; ++i) {
            const double step = std::max(0.2 * std::abs(from.value[i]), floor);
            to.value[i] =
                static_cast<int32_t>(std::lround(from.value[i] + signs[i] * length * step));
        }
        return scaled(to, std::exp2(signs[PARAMETERS] * length * SCALE_STEP));  // and fitted
    }

    // Tries `step(sign · length)` for sign +1, then -1 when that does not
    // help; after a step that helps, a longer one the same way, until one
    // does not. Returns the length of the last step taken, 0 for none.
    template <typename Step>
    double climb(Step step, double length, const std::vector<int32_t>& settings) {
        for (const int32_t sign : {+1, -1}) {
            double taken = 0;
            for (double along = length; evaluations < options.evaluations; along *= 1.5) {
                std::string what;
                const Table candidate = step(sign * along, what);
                if (std::equal(candidate.value, candidate.value + PARAMETERS, best.value) ||
                    !attempt(candidate, what, settings)) {
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

    Table tune(const Table& first) {
        std::mt19937 random(options.seed);
        best = first;
        for (int32_t half = 0; half < 2; ++half) {
            startScores[half] = score(first, half, options.settings, Scores());
            bestScores[half] = startScores[half];
        }
        say("[%3d/%d] start: %6.2f %6.2f | %s\n", evaluations, options.evaluations,
            objective(startScores[0]), objective(startScores[1]), tableLine(first).c_str());

        // Only hard weighs the table against something fixed (its border
        // term), so a multiple of the table changes hard alone: easy and
        // normal compare table sums, which it keeps in the same order, and so
        // play the same games. First the scale, hard alone: halved, then
        // doubled as far as the limit allows and the limit itself, each on
        // both halves; the best on the two together is taken when it does
        // better on each.
        std::vector<int32_t> hard;
        for (const int32_t s : options.settings) {
            if (matches::SETTING[s].difficulty == 2) {
                hard.push_back(s);
            }
        }
        const double room = static_cast<double>(TOTAL_LIMIT) /
                            static_cast<double>(std::max<int64_t>(first.total(), 1));
        std::vector<double> factors = {0.5};
        for (double factor = 2; factor < room; factor *= 2) {
            factors.push_back(factor);
        }
        factors.push_back(room);
        Table chosen = first;
        Scores chosenScores[2];
        double chosenSum = 0;
        for (const double factor : factors) {
            if (hard.empty() || evaluations + 2 > options.evaluations) {
                break;
            }
            const Table candidate = scaled(first, factor);
            Scores scores[2];
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
            say("taken: %s\n", tableLine(best).c_str());
        }

        // Then rounds of steps that move every number and the scale at once,
        // the signs drawn at random as SPSA draws its perturbations: the
        // one-at-a-time steps cannot follow a direction that needs several
        // numbers to move together. Each round also tries the scale alone
        // (hard alone, cheap). A length that helped grows, one that did not
        // shrinks.
        double length = 1;
        double scaleLength = 1;
        for (int32_t round = 1; evaluations < options.evaluations; ++round) {
            say("round %d\n", round);
            if (!hard.empty()) {
                const double taken = climb(
                    [this](double along, std::string& what) {
                        const double factor = std::exp2(along * SCALE_STEP);
                        char text[32];
                        std::snprintf(text, sizeof text, "scale x%.3f", factor);
                        what = text;
                        return scaled(best, factor);
                    },
                    scaleLength, hard);
                scaleLength =
                    taken > 0 ? std::min(taken * 1.5, 4.0) : std::max(scaleLength * 0.5, 0.25);
            }
            for (int32_t pair = 0; pair < 4 && evaluations < options.evaluations; ++pair) {
                int32_t signs[DIRECTIONS];
                for (int32_t& sign : signs) {
                    sign = (random() & 1) != 0 ? 1 : -1;
                }
                const double taken = climb(
                    [this, &signs](double along, std::string& what) {
                        char text[48];
                        int32_t at = std::snprintf(text, sizeof text, "all %.2f ", std::abs(along));
                        for (const int32_t sign : signs) {
                            text[at++] = sign * along > 0 ? '+' : '-';
                        }
                        text[at] = 0;
                        what = text;
                        return jointStep(best, signs, along);
                    },
                    length, options.settings);
                length = taken > 0 ? std::min(taken * 1.5, 4.0) : std::max(length * 0.8, 0.3);
            }
        }
        return best;
    }

    // The two halves of the training openings counted together.
    Scores trainingScores(const Scores (&halves)[2]) const {
        Scores both = halves[0];
        for (int32_t s = 0; s < SETTINGS; ++s) {
            for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
                both.points[s][k] += halves[1].points[s][k];
                both.games[s][k] += halves[1].games[s][k];
            }
        }
        return both;
    }

    Scores report(const Table& table, const std::vector<Opening>& openings) {
        const std::string path = options.out + "/report.brd";
        writeTable(table, path);
        return evaluation.run(path, openings, options.settings, options.reportKinds,
                              static_cast<int32_t>(openings.size()));
    }

    std::vector<Opening> train[2];
    Evaluation evaluation;
    Scores startScores[2];
    Scores bestScores[2];

  private:
    const Options& options;
    std::FILE* log;
    std::chrono::steady_clock::time_point start;
    int32_t evaluations = 0;
    Table best;
};

void printScores(Tuner& tuner, const Options& options, const Kinds& kinds, const char* title,
                 const Scores& before, const Scores& after) {
    tuner.say("\n%s\n\n| setting | before | after | change |", title);
    for (const int32_t kind : kinds) {
        tuner.say(" %s before | after |", SparringPartner::ROSTER[kind].name);
    }
    tuner.say("\n|---|---|---|---|");
    for (size_t k = 0; k < kinds.size(); ++k) {
        tuner.say("---|---|");
    }
    tuner.say("\n");
    for (const int32_t s : options.settings) {
        const double b = before.ofSetting(s, options.tuneKinds);
        const double a = after.ofSetting(s, options.tuneKinds);
        tuner.say("| %s | %.1f | %.1f | %+.1f |", matches::label(s).c_str(), b, a, a - b);
        for (const int32_t kind : kinds) {
            tuner.say(" %.1f | %.1f |", before.of(s, kind), after.of(s, kind));
        }
        tuner.say("\n");
    }
    // Each difficulty's settings on average.
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
        tuner.say("| **%s** | %.1f | %.1f | %+.1f |", matches::LEVELS[level], b, a, a - b);
        for (const int32_t kind : kinds) {
            tuner.say(" %.1f | %.1f |", before.average(of, {kind}), after.average(of, {kind}));
        }
        tuner.say("\n");
    }
    const double b = before.average(options.settings, options.tuneKinds);
    const double a = after.average(options.settings, options.tuneKinds);
    tuner.say("\naverage against the searchers: %.1f -> %.1f (%+.1f)\n", b, a, a - b);
    tuner.say("the objective (hard's settings counted twice): %.1f -> %.1f (%+.1f)\n",
              tuner.objective(before), tuner.objective(after),
              tuner.objective(after) - tuner.objective(before));
    if (kinds.size() > options.tuneKinds.size()) {
        const double all = after.average(options.settings, kinds);
        const double was = before.average(options.settings, kinds);
        tuner.say("average against all partners: %.1f -> %.1f (%+.1f)\n", was, all, all - was);
    }
}

// The smoke run's own checks of the partners' rules and endgame solve.
bool partnersAgreeWithRules(Board& board) {
    std::mt19937 random(7);
    for (int32_t trial = 0; trial < 200; ++trial) {
        int32_t side;
        if (!randomPosition(board, random, 20 + trial % 40, side)) {
            continue;
        }
        const uint64_t own = board.discsOf(side);
        const uint64_t other = board.discsOf(opponentOf(side));
        MoveList moves(side, &board);
        uint64_t listed = 0;
        for (const Move* m = moves.first(); m != nullptr; m = m->next) {
            listed |= 1ULL << (8 * m->x + m->y);
        }
        if (listed != SparringPartner::legalMoves(own, other)) {
            std::fprintf(stderr, "partner's moves differ from the rules' in trial %d\n", trial);
            return false;
        }
        const int32_t cell = __builtin_ctzll(listed);
        const uint64_t turned = SparringPartner::flips(cell, own, other);
        moves.apply(cell / 8, cell % 8);
        if (board.discsOf(side) != (own | turned | 1ULL << cell)) {
            std::fprintf(stderr, "partner's flips differ from the rules' in trial %d\n", trial);
            return false;
        }
    }
    return true;
}

// Plain minimax over every line to the end, for the solve to agree with.
int32_t minimax(uint64_t own, uint64_t other, bool passed) {
    const uint64_t moves = SparringPartner::legalMoves(own, other);
    if (moves == 0) {
        if (!passed) {
            return -minimax(other, own, true);
        }
        return SparringPartner::finalDifference(own, other);
    }
    int32_t best = -65;
    for (uint64_t rest = moves; rest != 0; rest &= rest - 1) {
        const int32_t cell = __builtin_ctzll(rest);
        const uint64_t turned = SparringPartner::flips(cell, own, other) | 1ULL << cell;
        best = std::max(best, -minimax(other & ~turned, own | turned, false));
    }
    return best;
}

bool solveIsExact(Board& board) {
    std::mt19937 random(11);
    SparringPartner deep(SparringPartner::ROSTER[3], 1);
    for (int32_t trial = 0; trial < 30; ++trial) {
        int32_t side;
        if (!randomPosition(board, random, 53 + trial % 3, side)) {
            continue;
        }
        const uint64_t own = board.discsOf(side);
        const uint64_t other = board.discsOf(opponentOf(side));
        int32_t cell;
        const int32_t solved = deep.solve(own, other, cell);
        const uint64_t turned = SparringPartner::flips(cell, own, other) | 1ULL << cell;
        if (solved != minimax(own, other, false) ||
            -minimax(other & ~turned, own | turned, false) != solved) {
            std::fprintf(stderr, "the endgame solve is not exact in trial %d\n", trial);
            return false;
        }
    }
    return true;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const auto number = [&] { return std::atoi(argv[++i]); };
        if (arg == "--smoke") {
            options.smoke = true;
            options.evaluations = 26;
            options.train = 4;
            options.heldOut = 2;
            options.settings = {0, 3, 6};
        } else if (arg == "--settings" && hasValue) {
            // Menu positions 0-8: easy 3, 5, 7, normal 3, 5, 7, hard 3, 5, 7.
            options.settings.clear();
            for (const char* at = argv[++i]; *at != 0; ++at) {
                if (*at >= '0' && *at <= '8') {
                    options.settings.push_back(*at - '0');
                }
            }
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<uint32_t>(number());
        } else if (arg == "--evaluations" && hasValue) {
            options.evaluations = number();
        } else if (arg == "--train" && hasValue) {
            options.train = number();
        } else if (arg == "--held-out" && hasValue) {
            options.heldOut = number();
        } else if (arg == "--deep-openings" && hasValue) {
            options.deepOpenings = std::max(number(), 1);
        } else if (arg == "--jobs" && hasValue) {
            options.jobs = std::max(number(), 1);
        } else if (arg == "--from" && hasValue) {
            options.from = argv[++i];
        } else if (arg == "--report" && hasValue) {
            options.report = argv[++i];
        } else if (arg == "--out" && hasValue) {
            options.out = argv[++i];
        } else {
            std::fprintf(arg == "--help" ? stdout : stderr,
                         "usage: vantrixo_tune [--seed N] [--evaluations N] [--train N] "
                         "[--held-out N] [--deep-openings N] [--jobs N] [--settings 0,3,6] "
                         "[--from FILE] [--out DIR] [--smoke] [--report FILE]\n");
            std::exit(arg == "--help" ? 0 : 2);
        }
    }
    return options.train > 1 && options.heldOut > 0 && !options.settings.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "vantrixo_tune: --train needs 2 openings or more, --held-out 1 or "
                     "more, --settings one setting or more\n");
        return 2;
    }
    mkdir(options.out.c_str(), 0777);
    std::FILE* log = std::fopen((options.out + "/tune.log").c_str(), "w");
    if (log == nullptr) {
        std::fprintf(stderr, "cannot write %s/tune.log\n", options.out.c_str());
        return 1;
    }
    WorkerPool pool(options.jobs);
    if (options.smoke && !(partnersAgreeWithRules(pool.board()) && solveIsExact(pool.board()))) {
        return 1;
    }
    Tuner tuner(options, pool, log);
    const Table first = readTable(options.from);
    // Different seed streams, and the held-out set skips any training position.
    const std::vector<Opening> training =
        matches::trainingOpenings(pool.board(), options.seed, options.train);
    const auto middle = training.begin() + options.train / 2;
    tuner.train[0].assign(training.begin(), middle);
    tuner.train[1].assign(middle, training.end());
    const std::vector<Opening> heldOut =
        matches::heldOutOpenings(pool.board(), options.seed, options.heldOut, training);
    tuner.say(
        "seed %u: %d evaluations of %zu settings x %zu partners x %d openings x 2 colours "
        "(a half of the training openings), %d jobs\nstart %s\n",
        options.seed, options.evaluations, options.settings.size(), options.tuneKinds.size(),
        options.train / 2, options.jobs, tableLine(first).c_str());

    const auto start = std::chrono::steady_clock::now();
    const Table tuned = options.report.empty() ? tuner.tune(first) : readTable(options.report);
    const double tuning = since(start);
    if (options.report.empty()) {
        writeTable(tuned, options.out + "/tuned.brd");
        tuner.say("\ntuned table (%s/tuned.brd):\n%s", options.out.c_str(),
                  tableText(tuned).c_str());
        printScores(tuner, options, options.tuneKinds,
                    "On the training openings:", tuner.trainingScores(tuner.startScores),
                    tuner.trainingScores(tuner.bestScores));
    } else {
        tuner.say("\nreported against %s:\n%s", options.report.c_str(), tableText(tuned).c_str());
    }
    const Scores before = tuner.report(first, heldOut);
    const Scores after = tuner.report(tuned, heldOut);
    printScores(tuner, options, options.reportKinds, "On the held-out openings:", before, after);
    tuner.say("\n%lld games: tuning %.1f min, reporting %.1f min, %d jobs.\n",
              static_cast<long long>(tuner.evaluation.gamesPlayed), tuning / 60,
              (since(start) - tuning) / 60, options.jobs);
    std::fclose(log);

    if (options.smoke && options.report.empty()) {
        if (tuned.total() > TOTAL_LIMIT) {
            std::fprintf(stderr, "the tuned values add up to too much: %lld\n",
                         static_cast<long long>(tuned.total()));
            return 1;
        }
        if (readTable(options.out + "/tuned.brd").value[0] != tuned.value[0]) {
            return 1;
        }
    }
    return 0;
}
