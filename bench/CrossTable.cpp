#include "CrossTable.h"

#include <cstdio>
#include <string>

#include "Matches.h"
#include "SelfPlay.h"

CrossTable::CrossTable(int32_t deepest) {
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
    for (const Pairing& p : all) {
        if (matches::SETTING[p.first].depth <= deepest &&
            matches::SETTING[p.second].depth <= deepest) {
            pairings.push_back(p);
        }
    }
}

void CrossTable::play(WorkerPool& pool) {
    pool.run(pairings.size(), [this](Board& board, size_t i) { run(board, pairings[i]); });
}

double CrossTable::playGame(Board& board, int redSetting, int greenSetting, uint32_t seed) {
    const int32_t side = selfplay::randomOpening(board, seed, OPENING_PLIES);
    const matches::Setting& r = matches::SETTING[redSetting];
    const matches::Setting& g = matches::SETTING[greenSetting];
    ComputerPlayer red(PositionValues::SHIPPED_TABLE, r.depth, r.difficulty, RED);
    ComputerPlayer green(PositionValues::SHIPPED_TABLE, g.depth, g.difficulty, GREEN);
    selfplay::playOut(board, side, red, green, [](const Board&, int32_t, double, uint64_t) {});
    return matches::pointsOf(board, RED);
}

void CrossTable::run(Board& board, Pairing& pairing) {
    for (int opening = 0; opening < OPENINGS; ++opening) {
        const auto seed = static_cast<uint32_t>(opening + 1);
        pairing.score += playGame(board, pairing.first, pairing.second, seed);
        pairing.score += 1 - playGame(board, pairing.second, pairing.first, seed);
    }
}

void CrossTable::print(double seconds, int32_t jobs) const {
    std::vector<std::vector<std::string>> cells(matches::SETTINGS,
                                                std::vector<std::string>(matches::SETTINGS));
    char text[32];
    for (const Pairing& p : pairings) {
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
    std::printf("\n%zu pairings, %d games in %.0f s with %d jobs.\n", pairings.size(),
                static_cast<int>(pairings.size()) * 2 * OPENINGS, seconds, jobs);
}
