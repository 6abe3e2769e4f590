#pragma once

#include <cstdint>

// The menu's items, top to bottom. The first three are also the kinds of
// game a Game plays.
constexpr int32_t NO_ITEM = 0;  // the pointer is over none
constexpr int32_t TWO_PLAYERS = 1;
constexpr int32_t PLAY_RED = 2;    // the person plays red against the computer
constexpr int32_t PLAY_GREEN = 3;  // the computer plays red and moves first
constexpr int32_t EXIT_ITEM = 4;
