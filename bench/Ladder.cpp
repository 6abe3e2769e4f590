// The strength ladder: matches between the computer's settings from seeded
// openings (a few random plies each), every pairing playing both colours
// from every opening, printed as a cross table of match scores. A deeper or
// harder setting should score at least even against the one below it.
//
// Then every setting against each sparring partner, with the hand-written
// table and with the shipped one, from the openings the tuner holds out:
// printed, and written to ladder.tsv for the chart (tools/ladder_chart.py).
//
//   vantrixo_ladder [jobs [deepest]]   (run from the build directory: it reads
//                                       data/; deepest 3 or 5 for a quick look)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CrossTable.h"
#include "Matches.h"
#include "WorkerPool.h"

namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Points per table (hand-written, shipped), setting and partner, out of
// PER_CELL games each.
struct PartnerPoints {
    static constexpr double PER_CELL = 2.0 * matches::HELD_OUT;
    double points[2][matches::SETTINGS][SparringPartner::KINDS] = {};
    size_t games = 0;

    double score(int32_t table, int32_t setting, int32_t kind) const {
        return 100 * points[table][setting][kind] / PER_CELL;
    }
};

constexpr const char* TABLE_NAMES[2] = {"hand-written", "shipped"};

PartnerPoints playPartners(WorkerPool& pool, const std::vector<int32_t>& settings) {
    const std::vector<matches::Opening> training =
        matches::trainingOpenings(pool.board(), matches::SEED, matches::TRAINING);
    const std::vector<matches::Opening> openings =
        matches::heldOutOpenings(pool.board(), matches::SEED, matches::HELD_OUT, training);
    const std::vector<std::string> tables = {VANTRIXO_BENCH_TABLES "/handwritten.brd",
                                             PositionValues::SHIPPED_TABLE};
    std::vector<int32_t> kinds;
    for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
        kinds.push_back(k);
    }
    std::vector<matches::Game> games =
        matches::schedule(2, settings, kinds, matches::HELD_OUT, matches::HELD_OUT);
    matches::playAll(pool, games, openings, tables);
    PartnerPoints points;
    for (const matches::Game& g : games) {
        points.points[g.table][g.setting][g.kind] += g.points;
    }
    points.games = games.size();
    return points;
}

void printPartnerHeader() {
    std::printf(
        "\nScores against the sparring partners, out of 100 (wins + half the draws), "
        "hand-written table → shipped table;\n%d held-out openings of %d random plies, "
        "each played with both colours.\n\n| setting |",
        matches::HELD_OUT, matches::PARTNER_OPENING_PLIES);
    for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
        std::printf(" %s |", SparringPartner::ROSTER[k].name);
    }
    std::printf(" the searchers |\n|---|");
    for (int32_t k = 0; k <= SparringPartner::KINDS; ++k) {
        std::printf("---|");
    }
    std::printf("\n");
}

// One setting's row, and its lines of ladder.tsv. Returns its score against
// the searchers (shallow and deep, the partners the tuner plays against)
// with each table.
void printSettingRow(const PartnerPoints& points, int32_t s, std::FILE* tsv,
                     double (&searchers)[2]) {
    std::printf("| %s |", matches::label(s).c_str());
    for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
        std::printf(" %.0f → %.0f |", points.score(0, s, k), points.score(1, s, k));
        for (int32_t t = 0; t < 2; ++t) {
            std::fprintf(tsv, "%s\t%s\t%s\t%.2f\t%.0f\n", TABLE_NAMES[t], matches::label(s).c_str(),
                         SparringPartner::ROSTER[k].name, points.score(t, s, k),
                         PartnerPoints::PER_CELL);
        }
    }
    for (int32_t t = 0; t < 2; ++t) {
        searchers[t] =
            100 * (points.points[t][s][2] + points.points[t][s][3]) / (2 * PartnerPoints::PER_CELL);
    }
    std::printf(" %.1f → %.1f |\n", searchers[0], searchers[1]);
}

// Each difficulty's settings on average: what a player choosing one meets.
void printLevelRows(const PartnerPoints& points, const std::vector<int32_t>& settings) {
    for (int32_t level = 0; level < 3; ++level) {
        double of[2][SparringPartner::KINDS] = {};
        int32_t count = 0;
        for (const int32_t s : settings) {
            if (matches::SETTING[s].difficulty == level) {
                ++count;
                for (int32_t t = 0; t < 2; ++t) {
                    for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
                        of[t][k] += points.score(t, s, k);
                    }
                }
            }
        }
        std::printf("| **%s** |", matches::LEVELS[level]);
        for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
            std::printf(" %.1f → %.1f |", of[0][k] / count, of[1][k] / count);
        }
        std::printf(" %.1f → %.1f |\n", (of[0][2] + of[0][3]) / (2 * count),
                    (of[1][2] + of[1][3]) / (2 * count));
    }
}

// Every setting against every partner with both tables; the scores are
// printed as a table and written to ladder.tsv.
bool sparring(WorkerPool& pool, int32_t deepest) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<int32_t> settings;
    for (int32_t s = 0; s < matches::SETTINGS; ++s) {
        if (matches::SETTING[s].depth <= deepest) {
            settings.push_back(s);
        }
    }
    const PartnerPoints points = playPartners(pool, settings);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> tsv(std::fopen("ladder.tsv", "w"),
                                                        &std::fclose);
    if (tsv == nullptr) {
        std::perror("ladder.tsv");
        return false;
    }
    std::fprintf(tsv.get(), "table\tsetting\tpartner\tscore\tgames\n");
    printPartnerHeader();
    double average[2] = {};
    for (const int32_t s : settings) {
        double searchers[2];
        printSettingRow(points, s, tsv.get(), searchers);
        for (int32_t t = 0; t < 2; ++t) {
            average[t] += searchers[t] / static_cast<double>(settings.size());
        }
    }
    printLevelRows(points, settings);
    tsv.reset();
    std::printf(
        "\nAverage of the settings against the searchers: %.1f → %.1f.\n"
        "%zu games in %.0f s; scores written to ladder.tsv.\n",
        average[0], average[1], points.games, since(start));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned hardware = std::thread::hardware_concurrency();
    const int jobs = argc > 1 ? std::atoi(argv[1]) : static_cast<int>(hardware > 0 ? hardware : 1);
    const int32_t deepest = argc > 2 ? std::atoi(argv[2]) : 7;
    CrossTable crossTable(deepest);
    const auto start = std::chrono::steady_clock::now();
    WorkerPool pool(jobs);
    crossTable.play(pool);
    crossTable.print(since(start), jobs);
    std::fflush(stdout);
    return sparring(pool, deepest) ? 0 : 1;
}
