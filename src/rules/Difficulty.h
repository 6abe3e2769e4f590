#pragma once

#include <cstdint>

// The computer's difficulties, as the menu offers them and the computer
// player reads them.
constexpr int32_t EASY = 0;
constexpr int32_t NORMAL = 1;
constexpr int32_t HARD = 2;
