#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

// One run of opposing discs that a move turns over: from the anchor (the
// mover's own disc that closes the run) in `direction` up to the move cell.
class FlipLine {
  public:
    FlipLine(int32_t anchorX, int32_t anchorY, int32_t direction)
        : anchorX(anchorX), anchorY(anchorY), direction(direction) {}

    // The search makes and frees lines by the million; freed ones wait on a
    // class-level list for reuse. The sanitizer build keeps plain new/delete
    // so that the leak checker sees every single line.
    static void* operator new(std::size_t size) {
#ifndef VANTRIXO_PLAIN_ALLOCATION
        if (spare != nullptr && size == sizeof(FlipLine)) {
            Spare* reused = spare;
            spare = reused->next;
            return reused;
        }
#endif
        return ::operator new(size);
    }
    static void operator delete(void* memory) noexcept {
#ifdef VANTRIXO_PLAIN_ALLOCATION
        ::operator delete(memory);
#else
        if (memory != nullptr) {
            spare = new (memory) Spare{spare};
        }
#endif
    }

    // Steps of the direction codes, from the anchor toward the move cell.
    static constexpr int32_t DX[8] = {-1, 1, 0, 0, -1, 1, -1, 1};
    static constexpr int32_t DY[8] = {0, 0, -1, 1, -1, -1, 1, 1};

    int32_t anchorX;
    int32_t anchorY;
    int32_t direction;
    FlipLine* next = nullptr;
    FlipLine* prev = nullptr;

  private:
    // What a freed line's storage holds while it waits.
    struct Spare {
        Spare* next;
    };
    static inline Spare* spare = nullptr;
};
