// What a player waits for: seeded computer-against-computer games through
// ComputerPlayer::play with the shipped table, a few random plies into each
// opening so the games differ. Per setting: the median, p90, p99 and slowest
// move, nodes per second, and the plain reference search of the tests timed
// on the same positions, as a ratio. Times are the search thread's processor
// time, which the load of a shared machine does not stretch.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "SelfPlay.h"
#include "support/ReferenceSearch.h"

namespace {

constexpr int GAMES = 6;
constexpr int OPENING_PLIES = 4;
// The reference runs about sixteen times slower: it takes the searched
// positions in game order up to this many nodes per setting (they visit the
// same nodes as the real search), and the ratio compares the two on those.
constexpr uint64_t REFERENCE_NODES = 60'000'000;

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

void realGames(benchmark::State& state) {
    const int32_t depth = static_cast<int32_t>(state.range(0));
    const int32_t difficulty = static_cast<int32_t>(state.range(1));
    std::vector<double> moveSeconds;
    std::vector<Searched> searched;
    uint64_t nodes = 0;
    double searchSeconds = 0;
    for (auto _ : state) {
        double total = 0;
        for (int game = 0; game < GAMES; ++game) {
            Board board;
            const int32_t side =
                selfplay::randomOpening(board, static_cast<uint32_t>(1000 + game), OPENING_PLIES);
            ComputerPlayer red(selfplay::SHIPPED_TABLE, depth, difficulty, RED);
            ComputerPlayer green(selfplay::SHIPPED_TABLE, depth, difficulty, GREEN);
            selfplay::playOut(
                board, side, red, green,
                [&](const Board& before, int32_t mover, double seconds, uint64_t searchedNodes) {
                    moveSeconds.push_back(seconds);
                    total += seconds;
                    if (searchedNodes == 0) {
                        return;  // a corner taken without a search
                    }
                    nodes += searchedNodes;
                    searchSeconds += seconds;
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

    // The reference on the same positions, the same table and setting.
    const ComputerPlayer table(selfplay::SHIPPED_TABLE, depth, difficulty, RED);
    double referenceSeconds = 0;
    double sameSeconds = 0;
    uint64_t referenceNodes = 0;
    int positions = 0;
    for (const Searched& s : searched) {
        if (referenceNodes + s.nodes > REFERENCE_NODES) {
            continue;
        }
        ++positions;
        sameSeconds += s.seconds;
        reference::Reference plain{{}, depth, difficulty, s.side, opponentOf(s.side)};
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                plain.values[x][y] = table.valueAt(x, y);
            }
        }
        int score;
        const double start = selfplay::threadSeconds();
        benchmark::DoNotOptimize(plain.choose(s.grid, score));
        referenceSeconds += selfplay::threadSeconds() - start;
        referenceNodes += plain.nodes;
    }

    std::sort(moveSeconds.begin(), moveSeconds.end());
    state.counters["moves"] = static_cast<double>(moveSeconds.size());
    state.counters["median_ms"] = percentile(moveSeconds, 0.5) * 1e3;
    state.counters["p90_ms"] = percentile(moveSeconds, 0.9) * 1e3;
    state.counters["p99_ms"] = percentile(moveSeconds, 0.99) * 1e3;
    state.counters["slowest_ms"] = moveSeconds.back() * 1e3;
    state.counters["Mnodes_per_s"] = static_cast<double>(nodes) / searchSeconds / 1e6;
    state.counters["ref_Mnodes_per_s"] =
        static_cast<double>(referenceNodes) / referenceSeconds / 1e6;
    // Same positions, same nodes (the tests check it): how many times faster.
    state.counters["ref_positions"] = positions;
    state.counters["x_reference"] = referenceSeconds / sameSeconds;
}

}  // namespace

BENCHMARK(realGames)
    ->ArgNames({"depth", "difficulty"})
    ->Args({5, 2})
    ->Args({7, 0})
    ->Args({7, 1})
    ->Args({7, 2})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
