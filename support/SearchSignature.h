#pragma once

// The search's signature: a fixed set of positions searched from the root at
// depth 3, 5 and 7 on easy and hard, summed up as a hash of the moves chosen
// and the total of positions visited. A change that should leave the search
// alone keeps both; one that speeds it up or slows it down shows in the nodes
// although every move stays the same.

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace signature {

struct Position {
    int32_t cells[8][8];
    int32_t toMove;
};

inline void load(Board& board, const Position& position) {
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            board.setCell(x, y, position.cells[x][y]);
        }
    }
}

// Random games from fixed seeds, sampled at set numbers of plies so that
// the set spans the opening, the middle game and the endgame with either
// side to move.
inline std::vector<Position> positions() {
    std::vector<Position> found;
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
            found.push_back(p);
        }
    }
    return found;
}

// The signature as last recorded, with the shipped table. A change meant to
// alter the search's moves or its work sets both from the output of
// `vantrixo_bench --signature`; the unit test holds every build to them.
constexpr uint64_t RECORDED_MOVES = 0x78f7b6ee2b1a5661;
constexpr uint64_t RECORDED_NODES = 4188409;

struct Signature {
    uint64_t moves = 14695981039346656037u;  // FNV-1a of nothing yet
    uint64_t nodes = 0;
};

// Searches every position as `play` does without the corner shortcut, with
// the table at `table`, at each of `depths` on easy and hard.
inline Signature of(const std::string& table, const std::vector<int32_t>& depths = {3, 5, 7}) {
    Signature sum;
    const std::vector<Position> set = positions();
    Board board;
    for (const int32_t depth : depths) {
        for (const int32_t difficulty : {0, 2}) {
            for (const Position& position : set) {
                load(board, position);
                ComputerPlayer player(table, depth, difficulty, position.toMove);
                MoveList moves(position.toMove, &board);
                int32_t x = -1;
                int32_t y = -1;
                player.searchMax(&moves, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT,
                                 0, x, y);
                sum.moves = (sum.moves ^ static_cast<uint8_t>(8 * x + y)) * 1099511628211u;
                sum.nodes += player.nodeCount();
            }
        }
    }
    return sum;
}

// Prints the signature beside the recorded one, as `vantrixo_bench --signature`
// and the browser build's signature command do; true when they are equal.
inline bool report(const Signature& s) {
    std::printf("signature: moves %016" PRIx64 " nodes %" PRIu64 "\n", s.moves, s.nodes);
    std::printf("recorded:  moves %016" PRIx64 " nodes %" PRIu64 " (now %+.1f%%)\n", RECORDED_MOVES,
                RECORDED_NODES, 100.0 * (static_cast<double>(s.nodes) / RECORDED_NODES - 1));
    return s.moves == RECORDED_MOVES && s.nodes == RECORDED_NODES;
}

}  // namespace signature
