#pragma once

#include <cstdint>

// The whole-board bit sets of DiscSets, worked out four directions at a time
// in 256-bit registers. Only for processors with AVX2: ask available() first.
// Left out of the portable build (BUILT is false there), so that the
// search's portable path is tested too.
class WideDiscSets {
  public:
#if defined(__x86_64__) && !defined(VANTRIXO_PORTABLE)
    static constexpr bool BUILT = true;
#else
    static constexpr bool BUILT = false;
#endif
    static bool available();
    static uint64_t movesOf(uint64_t own, uint64_t opposing);
    static bool canMove(uint64_t own, uint64_t opposing) {
        return movesOf(own, opposing) != 0;
    }
    static uint64_t anchorsOf(uint64_t own, uint64_t opposing);
    static uint64_t turnable(uint64_t own, uint64_t opposing);
    static uint64_t flipsOf(int32_t cell, uint64_t own, uint64_t opposing);
};
