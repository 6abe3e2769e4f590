#include "ai/ComputerPlayer.h"

// Placeholder until the search lands: plays the first listed move.
ComputerPlayer::ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty,
                               int32_t side)
    : depth(depth), difficulty(difficulty), side(side), opponent(opponentOf(side)),
      edgeWeight(1000) {
    (void)path;
}

int32_t ComputerPlayer::play(MoveList* moves) {
    if (!moves->isEmpty()) {
        moves->apply(moves->first()->x, moves->first()->y);
    }
    return 1;
}
