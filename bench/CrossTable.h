#pragma once

#include <cstdint>
#include <vector>

#include "WorkerPool.h"

// The ladder's matches between the computer's settings, all with the shipped
// table: the depths against each other at every difficulty, and the
// difficulties against each other at depth 3 and 5. Every pairing plays
// both colours from each of a few seeded openings.
class CrossTable {
  public:
    // The openings, and the random plies each is made of (the games against
    // the partners have longer ones).
    static constexpr int OPENINGS = 12;
    static constexpr int OPENING_PLIES = 4;

    // The pairings of settings no deeper than `deepest`.
    explicit CrossTable(int32_t deepest);

    void play(WorkerPool& pool);

    // Printed as a table of the row's score against the column, with the
    // time the matches took.
    void print(double seconds, int32_t jobs) const;

  private:
    struct Pairing {
        int first;
        int second;
        double score = 0;  // of `first`: wins and half the draws
    };

    static double playGame(Board& board, int redSetting, int greenSetting, uint32_t seed);
    static void run(Board& board, Pairing& pairing);

    std::vector<Pairing> pairings;
};
