#pragma once

#include <cstdint>

#include "rules/FlipLine.h"

// A legal move: its cell and the lines it turns over (owned, newest first).
class Move {
public:
    Move(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY, int32_t direction);
    Move(const Move&) = delete;
    Move& operator=(const Move&) = delete;
    ~Move();

    FlipLine* addLine(int32_t anchorX, int32_t anchorY, int32_t direction);
    void cell(int32_t& outX, int32_t& outY) const {
        outX = x;
        outY = y;
    }

    Move* next = nullptr;
    Move* prev = nullptr;
    int32_t x;
    int32_t y;
    FlipLine* lines;
};
