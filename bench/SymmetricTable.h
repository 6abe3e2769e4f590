#pragma once

#include <cstdint>
#include <string>

// The value table as the tuner sees it: the same under the board's eight
// symmetries, so ten numbers, one for each class of cells. In order: the
// corner, the edge by the corner, the edge's third cell, the edge's middle,
// X (diagonal to the corner), the second ring's third cell and its middle,
// the third ring's diagonal and its middle, and the centre.
struct SymmetricTable {
    static constexpr int32_t PARAMETERS = 10;
    // How many of the 64 cells each number holds.
    static constexpr int32_t CELLS[PARAMETERS] = {4, 8, 8, 8, 4, 8, 8, 4, 8, 4};
    // The most that the 64 cells' magnitudes may add up to: with hard's
    // border term at its most, no evaluation reaches a won game's score, so
    // no position is ever valued as won or lost. It is what 50,000 a cell
    // would give, but lets the corners grow where other cells stay small.
    static constexpr int64_t TOTAL_LIMIT = 64 * 50000;

    int32_t value[PARAMETERS] = {};

    // A cell's number: the board folded onto one eighth of it.
    static int32_t parameterOf(int32_t x, int32_t y);

    // Read through the game's own loader; a table that is not symmetric is
    // folded to the average of each number's cells.
    static SymmetricTable read(const std::string& path);
    void write(const std::string& path) const;

    // The sum of the 64 cells' magnitudes.
    int64_t total() const;
    // The largest magnitude, and no less than 1.
    int32_t largest() const;
    // The table times `factor`, shrunk back within TOTAL_LIMIT if need be.
    SymmetricTable scaled(double factor) const;

    // The 64 cells as the game's table file has them: eight lines of eight.
    std::string text() const;
    // The ten numbers on one line.
    std::string line() const;

    bool operator==(const SymmetricTable& other) const;
};
