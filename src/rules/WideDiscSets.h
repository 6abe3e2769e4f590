#pragma once

#include <cstdint>

// Left out of the portable build, so that the search's portable path is
// tested too.
#if defined(__x86_64__) && !defined(VANTRIXO_PORTABLE)
#define VANTRIXO_WIDE_DISC_SETS 1
#else
#define VANTRIXO_WIDE_DISC_SETS 0
#endif

// The whole-board bit sets of DiscSets, worked out four directions at a time
// in 256-bit registers. Only for processors with AVX2: ask available() first.
class WideDiscSets {
  public:
    static constexpr bool BUILT = VANTRIXO_WIDE_DISC_SETS;
    static bool available();
    static uint64_t movesOf(uint64_t own, uint64_t opposing);
    static bool canMove(uint64_t own, uint64_t opposing) { return movesOf(own, opposing) != 0; }
    static uint64_t anchorsOf(uint64_t own, uint64_t opposing);
    static uint64_t turnable(uint64_t own, uint64_t opposing);
    static uint64_t flipsOf(int32_t cell, uint64_t own, uint64_t opposing);
};
