#pragma once

#include <cstddef>
#include <new>

// Keeps the storage of freed objects of class T for the next one: the search
// makes and frees Moves, FlipLines and MoveLists by the million. The sanitizer
// build (VANTRIXO_PLAIN_ALLOCATION) uses plain new/delete throughout, so the
// leak checker accounts for every single object.
template <class T>
class Recycler {
  public:
    static void* take(std::size_t size) {
#ifndef VANTRIXO_PLAIN_ALLOCATION
        if (spare != nullptr && size == sizeof(T)) {
            Spare* reused = spare;
            spare = reused->next;
            return reused;
        }
#endif
        return ::operator new(size);
    }

    static void give(void* memory) noexcept {
#ifdef VANTRIXO_PLAIN_ALLOCATION
        ::operator delete(memory);
#else
        if (memory != nullptr) {
            spare = new (memory) Spare{spare};
        }
#endif
    }

  private:
    // What a freed object's storage holds while it waits.
    struct Spare {
        Spare* next;
    };
    static inline Spare* spare = nullptr;
};
