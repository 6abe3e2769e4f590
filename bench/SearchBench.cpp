// Speed of the computer player's search: a fixed set of positions from seeded
// random games, each searched from the root as `play` does without the corner
// shortcut, at depth 3, 5 and 7 on easy and hard.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/SearchSignature.h"

namespace {

using signature::Position;

void searchPositions(benchmark::State& state) {
    const int32_t depth = static_cast<int32_t>(state.range(0));
    const int32_t difficulty = static_cast<int32_t>(state.range(1));
    const std::vector<Position> positions = signature::positions();
    Board board;
    std::vector<double> seconds;
    uint64_t nodes = 0;
    double total = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (const Position& position : positions) {
            signature::load(board, position);
            ComputerPlayer player(PositionValues::SHIPPED_TABLE, depth, difficulty,
                                  position.toMove);
            MoveList moves(position.toMove, &board);
            int32_t x = -1;
            int32_t y = -1;
            const auto start = std::chrono::steady_clock::now();
            const int32_t score = player.searchMax(&moves, -ComputerPlayer::SCORE_LIMIT,
                                                   ComputerPlayer::SCORE_LIMIT, 0, x, y);
            const auto stop = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(score);
            const double elapsed = std::chrono::duration<double>(stop - start).count();
            seconds.push_back(elapsed);
            iteration += elapsed;
            nodes += player.nodeCount();
        }
        state.SetIterationTime(iteration);
        total += iteration;
    }
    std::sort(seconds.begin(), seconds.end());
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["nodes_per_move"] = static_cast<double>(nodes) / seconds.size();
    state.counters["Mnodes_per_s"] = static_cast<double>(nodes) / total / 1e6;
    state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
    state.counters["slowest_ms"] = seconds.back() * 1e3;
}

}  // namespace

BENCHMARK(searchPositions)
    ->ArgNames({"depth", "difficulty"})
    ->Args({3, 0})
    ->Args({3, 2})
    ->Args({5, 0})
    ->Args({5, 2})
    ->Args({7, 0})
    ->Args({7, 2})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// `--signature` prints the search's signature instead of timing anything:
// the line to quote in a commit that changes the search.
int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--signature") {
        signature::report(signature::of(PositionValues::SHIPPED_TABLE));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
