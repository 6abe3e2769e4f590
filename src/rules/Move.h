#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "rules/FlipLine.h"

// A legal move: its cell and the lines it turns over (owned, newest first).
// Defined here in full: the search makes and frees Moves by the million.
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

    // Freed Moves wait on a class-level list for reuse, like FlipLines (plain
    // new/delete in the sanitizer build).
    static void* operator new(std::size_t size) {
#ifndef VANTRIXO_PLAIN_ALLOCATION
        if (spare != nullptr && size == sizeof(Move)) {
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

  private:
    struct Spare {
        Spare* next;
    };
    static inline Spare* spare = nullptr;
};
