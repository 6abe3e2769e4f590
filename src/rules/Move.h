#pragma once

#include <cstdint>

#include "rules/FlipLine.h"

// A legal move: its cell and the lines it turns over (owned, newest first).
class Move {
  public:
    Move(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY, int32_t direction)
        : x(x), y(y), lines(new FlipLine(anchorX, anchorY, direction)) {}
    Move(const Move&) = delete;
    Move& operator=(const Move&) = delete;
    ~Move() {
        FlipLine* line = lines;
        while (line != nullptr) {
            FlipLine* following = line->next;
            delete line;
            line = following;
        }
    }

    FlipLine* addLine(int32_t anchorX, int32_t anchorY, int32_t direction) {
        FlipLine* line = new FlipLine(anchorX, anchorY, direction);
        line->next = lines;
        if (lines != nullptr) {
            lines->prev = line;
        }
        lines = line;
        return line;
    }
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
