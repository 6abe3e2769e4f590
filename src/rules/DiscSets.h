#pragma once

#include <cstdint>
#include <type_traits>

#include "rules/FlipLine.h"

// The cells met going from each cell in each direction code, up to the
// edge of the board. Codes 1, 3, 5 and 7 step to higher bits, the
// others to lower ones.
struct CellRays {
    uint64_t from[64][8] = {};
    uint64_t lines[64] = {};
    constexpr CellRays() {
        for (int32_t cell = 0; cell < 64; ++cell) {
            for (int32_t code = 0; code < 8; ++code) {
                const int32_t dx = FlipLine::DX[code];
                const int32_t dy = FlipLine::DY[code];
                for (int32_t x = cell / 8 + dx, y = cell % 8 + dy;
                     x >= 0 && x < 8 && y >= 0 && y < 8; x += dx, y += dy) {
                    from[cell][code] |= uint64_t{1} << (8 * x + y);
                }
                lines[cell] |= from[cell][code];
            }
        }
    }
};

// Whole-board bit sets of cells, shared by the move lists and the computer's
// search. Bit 8·x + y stands for cell (x, y), the order of the cells in
// memory, so walking the set bits upward visits the cells column by column,
// each column top to bottom: the order in which anchors are taken. The
// queries the search makes stay out of line (noinline): inlined into its
// loops they would take the registers those loops need.
class DiscSets {
  public:
    static constexpr uint64_t TOP_ROW = 0x0101010101010101ULL;
    static constexpr uint64_t BOTTOM_ROW = TOP_ROW << 7;

    // The bit-index step of direction CODE (FlipLine's codes).
    static constexpr int32_t stepOf(int32_t code) {
        return 8 * FlipLine::DX[code] + FlipLine::DY[code];
    }

    // The number of cells in a set. Written out because the portable build
    // has no population-count instruction and the library call costs more.
    static constexpr int32_t count(uint64_t cells) {
        cells -= cells >> 1 & 0x5555555555555555ULL;
        cells = (cells & 0x3333333333333333ULL) + (cells >> 2 & 0x3333333333333333ULL);
        cells = (cells + (cells >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
        return static_cast<int32_t>((cells * 0x0101010101010101ULL) >> 56);
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

    // The cells of `opposing` reached from a cell of `start` by steps of
    // STEP through `opposing` cells only, one step at a time (a run is at
    // most six long).
    template <int32_t STEP>
    static uint64_t runsFrom(uint64_t start, uint64_t opposing) {
        const uint64_t between = opposing & landing<STEP>();
        uint64_t run = shifted<STEP>(start) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        run |= shifted<STEP>(run) & between;
        return run;
    }

    // The cells of `end` one step of STEP beyond such a run.
    template <int32_t STEP>
    static uint64_t runEnds(uint64_t start, uint64_t opposing, uint64_t end) {
        return shifted<STEP>(runsFrom<STEP>(start, opposing)) & end & landing<STEP>();
    }

    // The discs of `own` from which a run of `opposing` discs in direction
    // CODE ends on an empty cell: the runs grown backwards from the empty cells.
    template <int32_t CODE>
    static uint64_t anchorsToward(uint64_t own, uint64_t opposing, uint64_t empty) {
        return runEnds<-stepOf(CODE)>(empty, opposing, own);
    }

    // The empty cells where such a run, leading away from a disc of `own` in
    // direction CODE, ends: the moves found along that direction.
    template <int32_t CODE>
    static uint64_t movesToward(uint64_t own, uint64_t opposing, uint64_t empty) {
        return runEnds<stepOf(CODE)>(own, opposing, empty);
    }

    // What found(code) finds in any of the eight direction codes, `code` a
    // std::integral_constant so that each direction is compiled on its own.
    template <typename Found>
    static uint64_t inAnyDirection(Found found) {
        return found(std::integral_constant<int32_t, 0>{}) |
               found(std::integral_constant<int32_t, 1>{}) |
               found(std::integral_constant<int32_t, 2>{}) |
               found(std::integral_constant<int32_t, 3>{}) |
               found(std::integral_constant<int32_t, 4>{}) |
               found(std::integral_constant<int32_t, 5>{}) |
               found(std::integral_constant<int32_t, 6>{}) |
               found(std::integral_constant<int32_t, 7>{});
    }

    // Every cell where `own` can move.
    [[gnu::noinline]] static uint64_t movesOf(uint64_t own, uint64_t opposing) {
        const uint64_t empty = ~(own | opposing);
        return inAnyDirection(
            [&](auto code) { return movesToward<decltype(code)::value>(own, opposing, empty); });
    }

    // Whether `own` can move anywhere. Most positions have a move in the
    // first direction tried, so asking one direction at a time is cheaper
    // than listing them all.
    [[gnu::noinline]] static bool canMove(uint64_t own, uint64_t opposing) {
        const uint64_t empty = ~(own | opposing);
        return movesToward<0>(own, opposing, empty) != 0 ||
               movesToward<1>(own, opposing, empty) != 0 ||
               movesToward<2>(own, opposing, empty) != 0 ||
               movesToward<3>(own, opposing, empty) != 0 ||
               (movesToward<4>(own, opposing, empty) | movesToward<5>(own, opposing, empty) |
                movesToward<6>(own, opposing, empty) | movesToward<7>(own, opposing, empty)) != 0;
    }

    // Every disc of `own` that closes a line for some move of `own`.
    [[gnu::noinline]] static uint64_t anchorsOf(uint64_t own, uint64_t opposing) {
        const uint64_t empty = ~(own | opposing);
        return inAnyDirection(
            [&](auto code) { return anchorsToward<decltype(code)::value>(own, opposing, empty); });
    }

    // Every disc of `opposing` that some move of `own` turns: in each
    // direction, the runs that lead from an empty cell to a disc of `own`.
    [[gnu::noinline]] static uint64_t turnable(uint64_t own, uint64_t opposing) {
        const uint64_t empty = ~(own | opposing);
        return inAnyDirection([&](auto code) {
            constexpr int32_t STEP = stepOf(decltype(code)::value);
            return runsFrom<STEP>(empty, opposing) & runsFrom<-STEP>(own, opposing);
        });
    }

    // The cells on the eight lines through `cell`, the cell itself left out.
    static uint64_t linesThrough(int32_t cell) { return RAYS.lines[cell]; }

    // The rays from `cell` in direction codes 0 to 7.
    static const uint64_t* raysFrom(int32_t cell) { return RAYS.from[cell]; }

    // The discs of `opposing` that `own` turns by playing on `cell`: in each
    // direction, the cells before the first one that is not `opposing`,
    // provided that one is `own`. Without a loop or a branch, because the
    // search asks this for nearly every position it visits.
    [[gnu::noinline]] static uint64_t flipsOf(int32_t cell, uint64_t own, uint64_t opposing) {
        const uint64_t(&rays)[8] = RAYS.from[cell];
        return flipsUp(rays[1], own, opposing) | flipsUp(rays[3], own, opposing) |
               flipsUp(rays[5], own, opposing) | flipsUp(rays[7], own, opposing) |
               flipsDown(rays[0], own, opposing) | flipsDown(rays[2], own, opposing) |
               flipsDown(rays[4], own, opposing) | flipsDown(rays[6], own, opposing);
    }

    // Calls found(anchor, code, target, turned) for every line that a disc
    // of `own` closes on an empty cell, in the order the move lists discover
    // them: anchors by rising bit (column by column, top to bottom), each
    // anchor's directions left, right, down, up, up-left, up-right,
    // down-right, down-left (codes 0, 1, 3, 2, 4, 5, 7, 6). `target` is the
    // empty cell and `turned` the run of `opposing` discs before it. Bit
    // operations on the whole board decide up front which anchor and
    // direction close a line, so only those are walked.
    template <typename Found>
    static void forEachLine(uint64_t own, uint64_t opposing, Found found) {
        const uint64_t empty = ~(own | opposing);
        const uint64_t toward[8] = {
            anchorsToward<0>(own, opposing, empty), anchorsToward<1>(own, opposing, empty),
            anchorsToward<2>(own, opposing, empty), anchorsToward<3>(own, opposing, empty),
            anchorsToward<4>(own, opposing, empty), anchorsToward<5>(own, opposing, empty),
            anchorsToward<6>(own, opposing, empty), anchorsToward<7>(own, opposing, empty)};
        const uint64_t anchors = toward[0] | toward[1] | toward[2] | toward[3] | toward[4] |
                                 toward[5] | toward[6] | toward[7];
        for (uint64_t rest = anchors; rest != 0; rest &= rest - 1) {
            const int32_t anchor = __builtin_ctzll(rest);
            const auto line = [&](auto code) {
                constexpr int32_t CODE = decltype(code)::value;
                constexpr int32_t STEP = stepOf(CODE);
                if ((toward[CODE] >> anchor & 1) == 0) {
                    return;
                }
                // The anchor is known to close a line, so the walk stays on the board.
                int32_t target = anchor + STEP;
                uint64_t turned = 0;
                while ((opposing >> target & 1) != 0) {
                    turned |= uint64_t{1} << target;
                    target += STEP;
                }
                found(anchor, CODE, target, turned);
            };
            line(std::integral_constant<int32_t, 0>{});
            line(std::integral_constant<int32_t, 1>{});
            line(std::integral_constant<int32_t, 3>{});
            line(std::integral_constant<int32_t, 2>{});
            line(std::integral_constant<int32_t, 4>{});
            line(std::integral_constant<int32_t, 5>{});
            line(std::integral_constant<int32_t, 7>{});
            line(std::integral_constant<int32_t, 6>{});
        }
    }

  private:
    static constexpr CellRays RAYS{};

    // Along a ray toward higher bits, the first cell that is not `opposing`
    // is its lowest such bit; the cells below it are the run.
    static uint64_t flipsUp(uint64_t ray, uint64_t own, uint64_t opposing) {
        const uint64_t stops = ray & ~opposing;
        const uint64_t first = stops & (0 - stops);
        const uint64_t run = ray & (first - 1);
        return (first & own) != 0 ? run : 0;
    }

    // Toward lower bits it is the highest; bit 0 stands in when there is
    // none, and is then no cell of the ray that `own` could hold.
    static uint64_t flipsDown(uint64_t ray, uint64_t own, uint64_t opposing) {
        const uint64_t stops = ray & ~opposing;
        const uint64_t first = uint64_t{1} << (63 - __builtin_clzll(stops | 1));
        const uint64_t run = ray & ~(first | (first - 1));
        return (first & own & stops) != 0 ? run : 0;
    }
};
