#pragma once

// Small helpers the rule and search tests share for laying out and comparing
// positions.

#include <string>
#include <vector>

#include "rules/Board.h"

inline void clear(Board& board) {
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            board.setCell(x, y, EMPTY);
        }
    }
}

// Lays out a position from eight strings, one per row from the top: 'R' red,
// 'G' green, anything else empty.
inline void setRows(Board& board, const std::vector<std::string>& rows) {
    clear(board);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const char c = rows[y][x];
            board.setCell(x, y, c == 'R' ? RED : c == 'G' ? GREEN : EMPTY);
        }
    }
}

inline bool sameCells(const Board& a, const Board& b) {
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (a.getCell(x, y) != b.getCell(x, y)) {
                return false;
            }
        }
    }
    return true;
}
