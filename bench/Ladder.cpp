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
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Matches.h"
#include "SelfPlay.h"

namespace {

constexpr int OPENINGS = 12;
constexpr int OPENING_PLIES = 4;

struct Pairing {
    int first;
    int second;
    double score = 0;  // of `first`: wins and half the draws
};

// The depths against each other at every difficulty, and the difficulties
// against each other at depth 3 and 5.
std::vector<Pairing> pairings() {
    std::vector<Pairing> all;
    for (int level = 0; level < 3; ++level) {
        all.push_back({3 * level, 3 * level + 1});
        all.push_back({3 * level + 1, 3 * level + 2});
        all.push_back({3 * level, 3 * level + 2});
    }
    for (int depth = 0; depth < 2; ++depth) {
        all.push_back({depth, 3 + depth});
        all.push_back({3 + depth, 6 + depth});
        all.push_back({depth, 6 + depth});
    }
    return all;
}

double play(Board& board, int redSetting, int greenSetting, uint32_t seed) {
    const int32_t side = selfplay::randomOpening(board, seed, OPENING_PLIES);
    const matches::Setting& r = matches::SETTING[redSetting];
    const matches::Setting& g = matches::SETTING[greenSetting];
    ComputerPlayer red(PositionValues::SHIPPED_TABLE, r.depth, r.difficulty, RED);
    ComputerPlayer green(PositionValues::SHIPPED_TABLE, g.depth, g.difficulty, GREEN);
    selfplay::playOut(board, side, red, green, [](const Board&, int32_t, double, uint64_t) {});
    return matches::pointsOf(board, RED);
}

void runPairing(Board& board, Pairing& pairing) {
    for (int opening = 0; opening < OPENINGS; ++opening) {
        const auto seed = static_cast<uint32_t>(opening + 1);
        pairing.score += play(board, pairing.first, pairing.second, seed);
        pairing.score += 1 - play(board, pairing.second, pairing.first, seed);
    }
}

// Every setting against every partner with both tables; the scores are
// printed as a table and written to ladder.tsv.
bool sparring(std::vector<Board>& boards, int32_t deepest) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<matches::Opening> training =
        matches::trainingOpenings(boards[0], matches::SEED, matches::TRAINING);
    const std::vector<matches::Opening> openings =
        matches::heldOutOpenings(boards[0], matches::SEED, matches::HELD_OUT, training);
    const std::vector<std::string> tables = {VANTRIXO_BENCH_TABLES "/handwritten.brd",
                                             PositionValues::SHIPPED_TABLE};
    const char* tableNames[2] = {"hand-written", "shipped"};
    std::vector<int32_t> settings;
    for (int32_t s = 0; s < matches::SETTINGS; ++s) {
        if (matches::SETTING[s].depth <= deepest) {
            settings.push_back(s);
        }
    }
    std::vector<int32_t> kinds;
    for (int32_t k = 0; k < SparringPartner::KINDS; ++k) {
        kinds.push_back(k);
    }
    std::vector<matches::Game> games =
        matches::schedule(2, settings, kinds, matches::HELD_OUT, matches::HELD_OUT);
    matches::playAll(boards, games, openings, tables);

    double points[2][matches::SETTINGS][SparringPartner::KINDS] = {};
    for (const matches::Game& g : games) {
        points[g.table][g.setting][g.kind] += g.points;
    }
    const double perCell = 2.0 * matches::HELD_OUT;
    std::FILE* tsv = std::fopen("ladder.tsv", "w");
    if (tsv == nullptr) {
        std::perror("ladder.tsv");
        return false;
    }
    std::fprintf(tsv, "table\tsetting\tpartner\tscore\tgames\n");
    std::printf(
        "\nScores against the sparring partners, out of 100 (wins + half the draws), "
        "hand-written table → shipped table;\n%d held-out openings of %d random plies, "
        "each played with both colours.\n\n| setting |",
        matches::HELD_OUT, matches::OPENING_PLIES);
    for (const int32_t k : kinds) {
        std::printf(" %s |", SparringPartner::ROSTER[k].name);
    }
    std::printf(" the searchers |\n|---|");
    for (size_t k = 0; k <= kinds.size(); ++k) {
        std::printf("---|");
    }
    std::printf("\n");
    double average[2] = {};
    for (const int32_t s : settings) {
        std::printf("| %s |", matches::label(s).c_str());
        for (const int32_t k : kinds) {
            const double before = 100 * points[0][s][k] / perCell;
            const double after = 100 * points[1][s][k] / perCell;
            std::printf(" %.0f → %.0f |", before, after);
            for (int32_t t = 0; t < 2; ++t) {
                std::fprintf(tsv, "%s\t%s\t%s\t%.2f\t%.0f\n", tableNames[t],
                             matches::label(s).c_str(), SparringPartner::ROSTER[k].name,
                             100 * points[t][s][k] / perCell, perCell);
            }
        }
        // The searchers, the partners the tuner plays against.
        double searchers[2];
        for (int32_t t = 0; t < 2; ++t) {
            searchers[t] = 100 * (points[t][s][2] + points[t][s][3]) / (2 * perCell);
            average[t] += searchers[t] / static_cast<double>(settings.size());
        }
        std::printf(" %.1f → %.1f |\n", searchers[0], searchers[1]);
    }
    // Each difficulty's settings on average: what a player choosing one meets.
    for (int32_t level = 0; level < 3; ++level) {
        double of[2][SparringPartner::KINDS] = {};
        int32_t count = 0;
        for (const int32_t s : settings) {
            if (matches::SETTING[s].difficulty == level) {
                ++count;
                for (int32_t t = 0; t < 2; ++t) {
                    for (const int32_t k : kinds) {
                        of[t][k] += 100 * points[t][s][k] / perCell;
                    }
                }
            }
        }
        std::printf("| **%s** |", matches::LEVELS[level]);
        for (const int32_t k : kinds) {
            std::printf(" %.1f → %.1f |", of[0][k] / count, of[1][k] / count);
        }
        std::printf(" %.1f → %.1f |\n", (of[0][2] + of[0][3]) / (2 * count),
                    (of[1][2] + of[1][3]) / (2 * count));
    }
    std::fclose(tsv);
    std::printf(
        "\nAverage of the settings against the searchers: %.1f → %.1f.\n"
        "%zu games in %.0f s; scores written to ladder.tsv.\n",
        average[0], average[1], games.size(),
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned hardware = std::thread::hardware_concurrency();
    const int jobs = argc > 1 ? std::atoi(argv[1]) : static_cast<int>(hardware > 0 ? hardware : 1);
    const int32_t deepest = argc > 2 ? std::atoi(argv[2]) : 7;
    std::vector<Pairing> all;
    for (const Pairing& p : pairings()) {
        if (matches::SETTING[p.first].depth <= deepest &&
            matches::SETTING[p.second].depth <= deepest) {
            all.push_back(p);
        }
    }
    const auto start = std::chrono::steady_clock::now();

    // Each worker takes the next pairing; a Board loads pictures, so each
    // worker's is made here, before the threads start.
    std::vector<Board> boards(static_cast<size_t>(jobs > 0 ? jobs : 1));
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (Board& board : boards) {
        workers.emplace_back([&all, &next, &board] {
            for (size_t i = next++; i < all.size(); i = next++) {
                runPairing(board, all[i]);
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // The cross table: the row's score against the column, out of the games
    // of one pairing.
    std::vector<std::vector<std::string>> cells(matches::SETTINGS,
                                                std::vector<std::string>(matches::SETTINGS));
    char text[32];
    for (const Pairing& p : all) {
        std::snprintf(text, sizeof text, "%g", p.score);
        cells[p.first][p.second] = text;
        std::snprintf(text, sizeof text, "%g", 2 * OPENINGS - p.score);
        cells[p.second][p.first] = text;
    }
    std::printf(
        "Match scores of the row against the column, out of %d games (wins + half "
        "the draws);\n%d openings of %d random plies, each played with both colours.\n\n",
        2 * OPENINGS, OPENINGS, OPENING_PLIES);
    std::printf("| |");
    for (int c = 0; c < matches::SETTINGS; ++c) {
        std::printf(" %s |", matches::label(c).c_str());
    }
    std::printf("\n|---|");
    for (int c = 0; c < matches::SETTINGS; ++c) {
        std::printf("---|");
    }
    std::printf("\n");
    for (int r = 0; r < matches::SETTINGS; ++r) {
        std::printf("| **%s** |", matches::label(r).c_str());
        for (int c = 0; c < matches::SETTINGS; ++c) {
            std::printf(" %s |", r == c ? "·" : cells[r][c].c_str());
        }
        std::printf("\n");
    }
    std::printf("\n%zu pairings, %d games in %.0f s with %d jobs.\n", all.size(),
                static_cast<int>(all.size()) * 2 * OPENINGS, seconds, jobs);
    std::fflush(stdout);
    return sparring(boards, deepest) ? 0 : 1;
}
