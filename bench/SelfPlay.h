#pragma once

// Computer-against-computer games from seeded openings, played through
// ComputerPlayer::play on move lists as the game screen plays them. Shared by
// the real-game benchmark and the strength ladder.

#include <time.h>

#include <cstdint>
#include <random>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace selfplay {

// The processor time of the calling thread: on a shared machine another
// process's load does not stretch it the way it stretches the wall clock.
inline double threadSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr const char* SHIPPED_TABLE = "data/ia/board8x8Values2.brd";

// The opening followed by `plies` random moves, so that seeded games differ;
// returns the side to move (0 when the game is already over).
inline int32_t randomOpening(Board& board, uint32_t seed, int plies) {
    std::mt19937 random(seed);
    int32_t side;
    return randomPosition(board, random, plies, side) ? side : 0;
}

// Plays the game on to its end. After each move, onMove(before, side,
// seconds, nodes) gets the position before it, the side that moved, the
// processor time `play` took and the nodes it searched.
template <typename OnMove>
void playOut(Board& board, int32_t side, ComputerPlayer& red, ComputerPlayer& green,
             OnMove onMove) {
    while (side != 0) {
        MoveList moves(side, &board);
        if (moves.isEmpty()) {
            side = MoveList(opponentOf(side), &board).isEmpty() ? 0 : opponentOf(side);
            continue;
        }
        ComputerPlayer& player = side == RED ? red : green;
        const Board before(board);
        player.resetNodeCount();
        const double start = threadSeconds();
        player.play(&moves);
        onMove(before, side, threadSeconds() - start, player.nodeCount());
        side = opponentOf(side);
    }
}

// +1 when red has more discs, -1 when green has, 0 for a draw.
inline int winner(Board& board) {
    board.recount();
    return board.redCount() > board.greenCount()   ? 1
           : board.redCount() < board.greenCount() ? -1
                                                   : 0;
}

}  // namespace selfplay
