#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Matches.h"

// What the tuner's command line chose (see TuneMain.cpp for the options).
struct TunerOptions {
    uint32_t seed = matches::SEED;
    int32_t evaluations = 130;
    int32_t train = matches::TRAINING;
    int32_t heldOut = matches::HELD_OUT;
    int32_t jobs = 2;
    // Depth 7 tunes on the first this many openings of each half only: its
    // games cost the most.
    int32_t deepOpenings = 10;
    std::string from = VANTRIXO_BENCH_TABLES "/first-tuning.brd";
    std::string out = "tune";
    std::string report;  // a table to report against the start table, no tuning
    std::vector<int32_t> settings = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    // Partners by their place in SparringPartner::ROSTER. The tuner plays
    // the searchers: random and greedy lose nearly every game.
    std::vector<int32_t> tuneKinds = {2, 3};
    std::vector<int32_t> reportKinds = {0, 1, 2, 3};

    // Takes the options from the command line: false when they leave too
    // few openings or no setting. Prints the usage and exits on --help or
    // an option it does not know.
    bool parse(int argc, char** argv);
};
