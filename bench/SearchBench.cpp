// Speed of the computer player's search: a fixed set of positions from seeded
// random games, each searched from the root as `play` does without the corner
// shortcut, at depth 3, 5 and 7 on easy and hard.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace {

struct Position {
    int32_t cells[8][8];
    int32_t toMove;
};

void load(Board& board, const Position& position) {
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            board.setCell(x, y, position.cells[x][y]);
        }
    }
}

// Random games from fixed seeds, sampled at set numbers of plies so that
// the set spans the opening, the middle game and the endgame with either
// side to move.
std::vector<Position> benchPositions() {
    std::vector<Position> positions;
    Board board;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        for (const int plies : {4, 10, 16, 22, 28, 34, 40, 46, 52}) {
            std::mt19937 random(seed * 7919);
            Position p;
            if (!randomPosition(board, random, plies, p.toMove)) {
                continue;
            }
            for (int32_t x = 0; x < 8; ++x) {
                for (int32_t y = 0; y < 8; ++y) {
                    p.cells[x][y] = board.getCell(x, y);
                }
            }
            positions.push_back(p);
        }
    }
    return positions;
}

void searchPositions(benchmark::State& state) {
    const int32_t depth = static_cast<int32_t>(state.range(0));
    const int32_t difficulty = static_cast<int32_t>(state.range(1));
    const std::vector<Position> positions = benchPositions();
    Board board;
    std::vector<double> seconds;
    uint64_t nodes = 0;
    double total = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (const Position& position : positions) {
            load(board, position);
            ComputerPlayer player("data/ia/board8x8Values2.brd", depth, difficulty,
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

BENCHMARK_MAIN();
