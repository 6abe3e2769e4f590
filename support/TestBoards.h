#pragma once

// Small helpers the tests, the benchmarks and the screenshot tool share for
// laying out and comparing positions.

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "rules/Board.h"
#include "rules/MoveList.h"

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

// The rules stated on their own, without the move lists: the number of discs
// that `side` placing at (x, y) turns over, found by walking the eight
// directions from the move cell. With `play` the discs turn and the new disc
// is placed (when it turns any).
inline int referenceFlips(int32_t (&cells)[8][8], int32_t side, int x, int y, bool play) {
    if (cells[x][y] != EMPTY) {
        return 0;
    }
    const int32_t other = opponentOf(side);
    int total = 0;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) {
                continue;
            }
            int run = 0;
            int cx = x + dx;
            int cy = y + dy;
            while (Board::isInside(cx, cy) && cells[cx][cy] == other) {
                ++run;
                cx += dx;
                cy += dy;
            }
            if (run == 0 || !Board::isInside(cx, cy) || cells[cx][cy] != side) {
                continue;
            }
            total += run;
            if (play) {
                for (int k = 1; k <= run; ++k) {
                    cells[x + k * dx][y + k * dy] = side;
                }
            }
        }
    }
    if (play && total > 0) {
        cells[x][y] = side;
    }
    return total;
}

// The opening followed by `plies` random moves (a side that cannot move
// passes, which takes a ply); `side` is then the side to move, NO_SIDE when
// the game has ended on the way, and the result whether it has not. Lays the opening out itself: a
// new Board would load its pictures. With `played`, each move's cell is appended to it.
inline bool randomPosition(Board& board, std::mt19937& random, int plies, int32_t& side,
                           std::vector<std::pair<int, int>>* played = nullptr) {
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const bool centre = (x == 3 || x == 4) && (y == 3 || y == 4);
            board.setCell(x, y, centre ? (x == y ? GREEN : RED) : EMPTY);
        }
    }
    side = RED;
    for (int i = 0; i < plies; ++i) {
        const int32_t toMove = MoveList::sideToMove(board, side);
        if (toMove != side) {
            if (toMove == NO_SIDE) {
                break;
            }
            side = toMove;
            continue;
        }
        MoveList moves(side, &board);
        std::vector<const Move*> listed;
        for (const Move* m = moves.first(); m != nullptr; m = m->next) {
            listed.push_back(m);
        }
        const Move* chosen = listed[random() % listed.size()];
        if (played != nullptr) {
            played->emplace_back(chosen->x, chosen->y);
        }
        moves.apply(chosen->x, chosen->y);
        side = opponentOf(side);
    }
    side = MoveList::sideToMove(board, side);
    return side != NO_SIDE;
}
