#pragma once

#include <cstdint>

#include "rules/FlipLine.h"

// Whole-board bit sets of cells, shared by the move lists and the computer's
// search. Bit 8·x + y stands for cell (x, y), the order of the cells in
// memory, so walking the set bits upward visits the cells column by column,
// each column top to bottom: the order in which anchors are taken.
class DiscSets {
  public:
    static constexpr uint64_t TOP_ROW = 0x0101010101010101ULL;
    static constexpr uint64_t BOTTOM_ROW = TOP_ROW << 7;

    // The bit-index step of direction CODE (FlipLine's codes).
    static constexpr int32_t stepOf(int32_t code) {
        return 8 * FlipLine::DX[code] + FlipLine::DY[code];
    }

    template <int32_t STEP>
    static constexpr uint64_t shifted(uint64_t cells) {
        return STEP > 0 ? cells << STEP : cells >> -STEP;
    }

    // The cells a shift by STEP may land on: stepping down off the bottom row
    // would wrap into the top of the next column, and up off the top row into
    // the bottom of the previous one. Leaving by a side column shifts the bit
    // out of the word instead.
    template <int32_t STEP>
    static constexpr uint64_t landing() {
        constexpr int32_t dy = ((STEP % 8) + 8 + 1) % 8 - 1;  // -1, 0 or +1
        return dy == 1 ? ~TOP_ROW : dy == -1 ? ~BOTTOM_ROW : ~uint64_t{0};
    }

    // The discs of `own` from which a run of `opposing` discs in direction
    // CODE ends on an empty cell, grown backwards from the empty cells (a run
    // is at most six long).
    template <int32_t CODE>
    static uint64_t anchorsToward(uint64_t own, uint64_t opposing, uint64_t empty) {
        constexpr int32_t BACK = -stepOf(CODE);
        constexpr uint64_t INSIDE = landing<BACK>();
        const uint64_t between = opposing & INSIDE;
        uint64_t run = shifted<BACK>(empty) & between;
        run |= shifted<BACK>(run) & between;
        run |= shifted<BACK>(run) & between;
        run |= shifted<BACK>(run) & between;
        run |= shifted<BACK>(run) & between;
        run |= shifted<BACK>(run) & between;
        return shifted<BACK>(run) & own & INSIDE;
    }

    // The empty cells where such a run, leading away from a disc of `own` in
    // direction CODE, ends: the moves found along that direction.
    template <int32_t CODE>
    static uint64_t movesToward(uint64_t own, uint64_t opposing, uint64_t empty) {
        constexpr int32_t STEP = stepOf(CODE);
        constexpr uint64_t INSIDE = landing<STEP>();
        const uint64_t between = opposing & INSIDE;
        uint64_t run = shifted<STEP>(own) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        return shifted<STEP>(run) & empty & INSIDE;
    }
};
