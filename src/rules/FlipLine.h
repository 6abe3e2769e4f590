#pragma once

#include <cstdint>

// One run of opposing discs that a move turns over: from the anchor (the
// mover's own disc that closes the run) in `direction` up to the move cell.
class FlipLine {
  public:
    FlipLine(int32_t anchorX, int32_t anchorY, int32_t direction)
        : anchorX(anchorX), anchorY(anchorY), direction(direction) {}

    // Steps of the direction codes, from the anchor toward the move cell.
    static constexpr int32_t DX[8] = {-1, 1, 0, 0, -1, 1, -1, 1};
    static constexpr int32_t DY[8] = {0, 0, -1, 1, -1, -1, 1, 1};

    int32_t anchorX;
    int32_t anchorY;
    int32_t direction;
    FlipLine* next = nullptr;
    FlipLine* prev = nullptr;
};
