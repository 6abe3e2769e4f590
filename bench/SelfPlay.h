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

// The opening followed by `plies` random moves, so that seeded games differ;
// returns the side to move (NO_SIDE when the game is already over).
inline int32_t randomOpening(Board& board, uint32_t seed, int plies) {
    std::mt19937 random(seed);
    int32_t side;
    randomPosition(board, random, plies, side);
    return side;
}

// Plays the game on to its end from `side` to move (one that can, or
// NO_SIDE, as randomOpening gives it). After each move, onMove(before, side,
// seconds, nodes) gets the position before it, the side that moved, the
// processor time `play` took and the nodes it searched.
template <typename OnMove>
void playOut(Board& board, int32_t side, ComputerPlayer& red, ComputerPlayer& green,
             OnMove onMove) {
    while (side != NO_SIDE) {
        MoveList moves(side, &board);
        ComputerPlayer& player = side == RED ? red : green;
        const Board before(board);
        player.resetNodeCount();
        const double start = threadSeconds();
        player.play(&moves);
        onMove(before, side, threadSeconds() - start, player.nodeCount());
        side = MoveList::sideToMove(board, opponentOf(side));
    }
}

}  // namespace selfplay
