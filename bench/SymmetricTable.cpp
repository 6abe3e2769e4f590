#include "SymmetricTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "ai/ComputerPlayer.h"
#include "ai/PositionValues.h"

namespace {

// Hard's border term at its most: 1,000 a disc on the four border lines.
constexpr int64_t BORDER_MOST = 4 * 8 * 1000;
static_assert(SymmetricTable::TOTAL_LIMIT + BORDER_MOST < ComputerPlayer::WIN_SCORE,
              "values too large");

}  // namespace

int32_t SymmetricTable::parameterOf(int32_t x, int32_t y) {
    const int32_t a = std::min(x, 7 - x);
    const int32_t b = std::min(y, 7 - y);
    const int32_t low = std::min(a, b);
    const int32_t high = std::max(a, b);
    constexpr int32_t FIRST[4] = {0, 4, 7, 9};  // the index of (low, low)
    return FIRST[low] + high - low;
}

SymmetricTable SymmetricTable::read(const std::string& path) {
    PositionValues values;
    values.loadValues(path);
    SymmetricTable table;
    int32_t cells[PARAMETERS] = {};
    int64_t sums[PARAMETERS] = {};
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            sums[parameterOf(x, y)] += values.at(x, y);
            ++cells[parameterOf(x, y)];
        }
    }
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        table.value[i] = static_cast<int32_t>(std::lround(static_cast<double>(sums[i]) / cells[i]));
    }
    return table;
}

void SymmetricTable::write(const std::string& path) const {
    std::ofstream(path) << text();
}

int64_t SymmetricTable::total() const {
    int64_t sum = 0;
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        sum += CELLS[i] * static_cast<int64_t>(std::abs(value[i]));
    }
    return sum;
}

int32_t SymmetricTable::largest() const {
    int32_t most = 1;
    for (const int32_t v : value) {
        most = std::max(most, std::abs(v));
    }
    return most;
}

SymmetricTable SymmetricTable::scaled(double factor) const {
    const double sum = static_cast<double>(std::max<int64_t>(total(), 1));
    factor = std::min(factor, static_cast<double>(TOTAL_LIMIT) / sum);
    SymmetricTable to;
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        to.value[i] = static_cast<int32_t>(factor * value[i]);  // toward 0: fits
    }
    return to;
}

std::string SymmetricTable::text() const {
    std::string text;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            text += std::to_string(value[parameterOf(x, y)]) + (x < 7 ? " " : "\n");
        }
    }
    return text;
}

std::string SymmetricTable::line() const {
    std::string text;
    for (int32_t i = 0; i < PARAMETERS; ++i) {
        text += (i > 0 ? " " : "") + std::to_string(value[i]);
    }
    return text;
}

bool SymmetricTable::operator==(const SymmetricTable& other) const {
    return std::equal(value, value + PARAMETERS, other.value);
}
