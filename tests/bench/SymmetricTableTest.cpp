#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/SymmetricTable.h"

namespace {

std::string scratchPath() {
    return testing::TempDir() + "vantrixo_symmetric_" + std::to_string(getpid()) + ".brd";
}

// A table the tuner writes is one the game reads back the same, each
// number in every cell of its class; a file that is not symmetric is
// folded to the averages of the classes.
TEST(SymmetricTable, WrittenTablesReadBackAndOthersFold) {
    SymmetricTable table;
    for (int32_t i = 0; i < SymmetricTable::PARAMETERS; ++i) {
        table.value[i] = (i % 2 == 0 ? 1 : -1) * (100 * i + 7);
    }
    const std::string path = scratchPath();
    table.write(path);
    EXPECT_EQ(table, SymmetricTable::read(path)) << table.line();
    int32_t cells[SymmetricTable::PARAMETERS] = {};
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            ++cells[SymmetricTable::parameterOf(x, y)];
            // A quarter turn and a mirror give all eight symmetries.
            EXPECT_EQ(SymmetricTable::parameterOf(x, y), SymmetricTable::parameterOf(y, 7 - x));
            EXPECT_EQ(SymmetricTable::parameterOf(x, y), SymmetricTable::parameterOf(7 - x, y));
        }
    }
    for (int32_t i = 0; i < SymmetricTable::PARAMETERS; ++i) {
        EXPECT_EQ(SymmetricTable::CELLS[i], cells[i]) << i;
    }

    // The corners 10, 20, 30, 41 and every other cell 0.
    std::string rows = "10 0 0 0 0 0 0 20\n";
    for (int32_t y = 1; y < 7; ++y) {
        rows += "0 0 0 0 0 0 0 0\n";
    }
    std::ofstream(path) << rows + "30 0 0 0 0 0 0 41\n";
    EXPECT_EQ("25 0 0 0 0 0 0 0 0 0", SymmetricTable::read(path).line());
    std::remove(path.c_str());
}

// However far the tuner scales a table up, its cells stay within the limit
// that keeps every evaluation below a won game's score.
TEST(SymmetricTable, ScalingStaysWithinTheLimit) {
    SymmetricTable table;
    for (int32_t i = 0; i < SymmetricTable::PARAMETERS; ++i) {
        table.value[i] = 3 * i - 11;
    }
    for (const double factor : {1e4, 1e6, 1e9}) {
        const SymmetricTable scaled = table.scaled(factor);
        EXPECT_LE(scaled.total(), SymmetricTable::TOTAL_LIMIT) << factor;
        EXPECT_GT(scaled.total(), SymmetricTable::TOTAL_LIMIT * 99 / 100) << factor;
    }
    EXPECT_EQ("-5 -4 -2 -1 0 2 3 5 6 8", table.scaled(0.5).line());
}

}  // namespace
