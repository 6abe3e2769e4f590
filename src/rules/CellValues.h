#pragma once

#include <cstdint>

// What a cell holds, and the same numbers name the two players.
constexpr int32_t EMPTY = 0;
constexpr int32_t RED = 1;
constexpr int32_t GREEN = 2;
// The turn once neither side can move: the game is over.
constexpr int32_t NO_SIDE = 0;

// RED moves first; anything that is not RED (GREEN, or a stray value) faces RED.
constexpr int32_t opponentOf(int32_t side) {
    return side == RED ? GREEN : RED;
}
