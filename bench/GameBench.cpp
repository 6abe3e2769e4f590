// What a player waits for: seeded computer-against-computer games through
// ComputerPlayer::play with the shipped table, a few random plies into each
// opening so the games differ. Per setting: the median, p99, p99.9 and
// slowest move in the search thread's processor time (which the load of a
// shared machine does not stretch), nodes per move, and the plain reference
// search of the tests on the same positions: its nodes (the tree the search
// on move lists walked, node for node) and its time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "SelfPlay.h"
#include "support/ReferenceSearch.h"

namespace {

constexpr int OPENING_PLIES = 4;
// The reference walks the whole plain tree at about a fiftieth of the
// engine's speed per node, and that tree is hundreds of times larger: it
// takes the searched positions in game order until it has spent this many
// nodes, and is compared with the engine on those.
constexpr uint64_t REFERENCE_NODES = 30'000'000;

struct Searched {
    reference::Grid grid;
    int32_t side;
    double seconds;
    uint64_t nodes;
};

double percentile(const std::vector<double>& sorted, double fraction) {
    const auto rank = static_cast<size_t>(std::ceil(fraction * sorted.size()));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

// The engine and the reference on the same positions, up to the reference's
// budget of nodes.
struct Compared {
    int positions = 0;
    double referenceSeconds = 0;
    double sameSeconds = 0;
    uint64_t referenceNodes = 0;
    uint64_t sameNodes = 0;
};

// The reference on the positions the engine searched, in game order, with
// the same table and setting.
Compared againstReference(const std::vector<Searched>& searched, int32_t depth,
                          int32_t difficulty) {
    PositionValues table;
    table.loadValues(PositionValues::SHIPPED_TABLE);
    Compared compared;
    for (const Searched& s : searched) {
        if (compared.referenceNodes > REFERENCE_NODES) {
            break;
        }
        ++compared.positions;
        compared.sameSeconds += s.seconds;
        compared.sameNodes += s.nodes;
        reference::Reference plain{{}, depth, difficulty, s.side, opponentOf(s.side)};
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                plain.values[x][y] = table.at(x, y);
            }
        }
        int score;
        const double start = selfplay::threadSeconds();
        benchmark::DoNotOptimize(plain.choose(s.grid, score));
        compared.referenceSeconds += selfplay::threadSeconds() - start;
        compared.referenceNodes += plain.nodes;
    }
    return compared;
}

void realGames(benchmark::State& state) {
    const int32_t depth = static_cast<int32_t>(state.range(0));
    const int32_t difficulty = static_cast<int32_t>(state.range(1));
    const int games = static_cast<int>(state.range(2));
    std::vector<double> moveSeconds;
    std::vector<double> moveNodes;
    std::vector<Searched> searched;
    for (auto _ : state) {
        double total = 0;
        for (int game = 0; game < games; ++game) {
            Board board;
            const int32_t side =
                selfplay::randomOpening(board, static_cast<uint32_t>(1000 + game), OPENING_PLIES);
            ComputerPlayer red(PositionValues::SHIPPED_TABLE, depth, difficulty, RED);
            ComputerPlayer green(PositionValues::SHIPPED_TABLE, depth, difficulty, GREEN);
            selfplay::playOut(
                board, side, red, green,
                [&](const Board& before, int32_t mover, double seconds, uint64_t searchedNodes) {
                    moveSeconds.push_back(seconds);
                    total += seconds;
                    if (searchedNodes == 0) {
                        return;  // a corner taken without a search
                    }
                    moveNodes.push_back(static_cast<double>(searchedNodes));
                    Searched s{{}, mover, seconds, searchedNodes};
                    for (int x = 0; x < 8; ++x) {
                        for (int y = 0; y < 8; ++y) {
                            s.grid.c[x][y] = before.getCell(x, y);
                        }
                    }
                    searched.push_back(s);
                });
        }
        state.SetIterationTime(total);
    }

    const Compared compared = againstReference(searched, depth, difficulty);

    std::sort(moveSeconds.begin(), moveSeconds.end());
    std::sort(moveNodes.begin(), moveNodes.end());
    state.counters["moves"] = static_cast<double>(moveSeconds.size());
    state.counters["p50_ms"] = percentile(moveSeconds, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(moveSeconds, 0.99) * 1e3;
    state.counters["p999_ms"] = percentile(moveSeconds, 0.999) * 1e3;
    state.counters["slowest_ms"] = moveSeconds.back() * 1e3;
    state.counters["p50_nodes"] = percentile(moveNodes, 0.5);
    state.counters["p999_nodes"] = percentile(moveNodes, 0.999);
    state.counters["most_nodes"] = moveNodes.back();
    // On the first positions searched, up to the reference's budget.
    state.counters["ref_positions"] = compared.positions;
    state.counters["ref_nodes_x"] =
        static_cast<double>(compared.referenceNodes) / static_cast<double>(compared.sameNodes);
    state.counters["ref_time_x"] = compared.referenceSeconds / compared.sameSeconds;
}

}  // namespace

// depth, difficulty, games: a hundred at the slowest setting, fewer elsewhere.
BENCHMARK(realGames)
    ->ArgNames({"depth", "difficulty", "games"})
    ->Args({3, 2, 20})
    ->Args({5, 2, 20})
    ->Args({7, 0, 20})
    ->Args({7, 1, 20})
    ->Args({7, 2, 100})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
