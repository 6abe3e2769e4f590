#include "rules/Move.h"

Move::Move(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY, int32_t direction)
    : x(x), y(y), lines(new FlipLine(anchorX, anchorY, direction)) {}

Move::~Move() {
    FlipLine* line = lines;
    while (line != nullptr) {
        FlipLine* following = line->next;
        delete line;
        line = following;
    }
}

FlipLine* Move::addLine(int32_t anchorX, int32_t anchorY, int32_t direction) {
    FlipLine* line = new FlipLine(anchorX, anchorY, direction);
    line->next = lines;
    if (lines != nullptr) {
        lines->prev = line;
    }
    lines = line;
    return line;
}
