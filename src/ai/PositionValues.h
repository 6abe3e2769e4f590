#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "rules/Board.h"

// The computer's weight for every cell, read from a table file: eight lines
// of eight integers laid out like the board (top row first, cells left to
// right), each line read the way "%d %d %d %d %d %d %d %d" reads it.
class PositionValues {
  public:
    // The game's own table, beside the program.
    static constexpr const char* SHIPPED_TABLE = "data/ia/board8x8Values2.brd";

    // What is read of a file at most: a line keeps its first LINE_KEPT bytes
    // (no table needs more), and after FILE_READ bytes the file counts as
    // ended, so that no file can stall or flood the game.
    static constexpr size_t LINE_KEPT = 4096;
    static constexpr size_t FILE_READ = 65536;

    // Every value 0.
    PositionValues() = default;
    explicit PositionValues(const std::string& path) { loadValues(path); }

    // Fills the table from the file at `path` as far as the file allows. A
    // file that cannot be opened, or is not a regular file, is reported on
    // standard error and leaves the table as it was.
    void loadValues(const std::string& path);

    // The value of cell (x, y); 0 for a cell off the board.
    int32_t at(int32_t x, int32_t y) const { return Board::isInside(x, y) ? values[x][y] : 0; }
    // The whole table, indexed [x][y] like the Board's cells.
    const int32_t (&cells() const)[8][8] { return values; }

  private:
    void parseRow(const std::string& line, int32_t row);

    int32_t values[8][8] = {};
};
