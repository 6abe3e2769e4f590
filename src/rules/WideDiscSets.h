#pragma once

#include <cstdint>

// The whole-board bit sets of DiscSets, worked out four directions at a time
// in 256-bit registers. Only for processors with AVX2: ask available() first.
class WideDiscSets {
  public:
    static bool available();
    static uint64_t movesOf(uint64_t own, uint64_t opposing);
    static uint64_t anchorsOf(uint64_t own, uint64_t opposing);
    static uint64_t turnable(uint64_t own, uint64_t opposing);
    static uint64_t flipsOf(int32_t cell, uint64_t own, uint64_t opposing);
};
