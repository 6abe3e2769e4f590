#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

// What the search learnt about the positions it met, each in the one slot
// that a hash of its discs picks. Entries of an earlier search (another
// generation) count as empty, so no search depends on what came before.
class TranspositionTable {
  public:
    // Positions the table holds; 32 bytes each. Half a megabyte stays in the
    // processor's second-level cache, and a larger table saves too few
    // positions to pay for reaching further out.
    static constexpr uint64_t ENTRIES = uint64_t{1} << 14;

    // What one search proved about a position with `remaining` plies to the
    // horizon: its value lies in [lower, upper], and `best` (a cell, or 64
    // for none) was its best move, the hash move.
    struct Entry {
        uint64_t computer;
        uint64_t opponent;
        int32_t lower;
        int32_t upper;
        uint32_t generation;
        uint8_t remaining;
        bool computerMoves;
        uint8_t best;
    };

    // Allocated zeroed, so the system hands over untouched pages without
    // writing them: a short game never pays for the whole table.
    TranspositionTable() : entries(static_cast<Entry*>(std::calloc(ENTRIES, sizeof(Entry)))) {
        if (!entries) {
            throw std::bad_alloc();
        }
    }

    void nextGeneration() {
        // Generation 0 marks the never-written entries; after some four
        // billion searches the numbers come round again: the table is wiped.
        if (++generation == 0) {
            std::fill(entries.get(), entries.get() + ENTRIES, Entry{});
            generation = 1;
        }
    }

    Entry* slotOf(uint64_t computer, uint64_t opponent, bool computerMoves) const {
        uint64_t key =
            computer ^ (opponent * 0x9E3779B97F4A7C15ULL) ^ static_cast<uint64_t>(computerMoves);
        key ^= key >> 31;
        key *= 0xBF58476D1CE4E5B9ULL;
        key ^= key >> 29;
        return entries.get() + (key & (ENTRIES - 1));
    }

    // The slot (which may be null) if it holds this generation's entry for
    // the position, otherwise null.
    const Entry* probe(const Entry* slot, uint64_t computer, uint64_t opponent,
                       bool computerMoves) const {
        return slot != nullptr && slot->generation == generation && slot->computer == computer &&
                       slot->opponent == opponent && slot->computerMoves == computerMoves
                   ? slot
                   : nullptr;
    }

    // Keeps what a search proved (its generation is set here). The children
    // may have replaced the slot's entry meanwhile; a deeper result for the
    // same position is worth more than this one.
    void store(Entry* slot, Entry proved) {
        proved.generation = generation;
        const bool held =
            probe(slot, proved.computer, proved.opponent, proved.computerMoves) != nullptr;
        if (held && slot->remaining == proved.remaining) {
            slot->lower = std::max(slot->lower, proved.lower);
            slot->upper = std::min(slot->upper, proved.upper);
            slot->best = proved.best;
        } else if (!held || slot->remaining < proved.remaining) {
            *slot = proved;
        }
    }

  private:
    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };
    std::unique_ptr<Entry, Free> entries;
    uint32_t generation = 1;
};
