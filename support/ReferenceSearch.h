#pragma once

// A deliberately plain statement of the computer's search, written from the
// rules alone: an int grid, a move generator that scans every anchor and
// walks out from it, flips found by walking out from the move cell, and the
// minimax comparisons spelled out, without ordering or memory: it visits
// every node the plain alpha-beta search visits. The search tests compare
// the computer's moves and root scores with it; the benchmark counts its
// nodes and times it beside the real search.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "support/TestBoards.h"

namespace reference {

constexpr int LIMIT = 3276800;
constexpr int WIN = 3276700;

struct Grid {
    int c[8][8];
};

inline bool inside(int x, int y) {
    return x >= 0 && x < 8 && y >= 0 && y < 8;
}

inline int flips(Grid& g, int side, int x, int y, bool play) {
    return referenceFlips(g.c, side, x, y, play);
}

struct MoveSet {
    int count = 0;
    int x[64];
    int y[64];
};

// The list order: a move is first found from the first anchor (column by
// column, top to bottom) that closes a line to it, trying that anchor's
// directions left, right, down, up, up-left, up-right, down-right,
// down-left; the list holds the moves newest first.
inline MoveSet movesOf(const Grid& g, int side) {
    const int dirs[8][2] = {{-1, 0}, {1, 0}, {0, 1}, {0, -1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const int other = side == 1 ? 2 : 1;
    MoveSet found;
    bool seen[8][8] = {};
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (g.c[x][y] != side) {
                continue;
            }
            for (const auto& d : dirs) {
                int cx = x + d[0];
                int cy = y + d[1];
                int run = 0;
                while (inside(cx, cy) && g.c[cx][cy] == other) {
                    ++run;
                    cx += d[0];
                    cy += d[1];
                }
                if (run > 0 && inside(cx, cy) && g.c[cx][cy] == 0 && !seen[cx][cy]) {
                    seen[cx][cy] = true;
                    found.x[found.count] = cx;
                    found.y[found.count] = cy;
                    ++found.count;
                }
            }
        }
    }
    MoveSet newestFirst;
    newestFirst.count = found.count;
    for (int i = 0; i < found.count; ++i) {
        newestFirst.x[i] = found.x[found.count - 1 - i];
        newestFirst.y[i] = found.y[found.count - 1 - i];
    }
    return newestFirst;
}

struct Reference {
    int values[8][8];
    int depth;
    int difficulty;
    int side;
    int opponent;
    uint64_t nodes = 0;

    int evaluate(const Grid& g) const {
        int sum = 0;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                sum += g.c[x][y] == side ? values[x][y] : g.c[x][y] == opponent ? -values[x][y] : 0;
            }
        }
        if (difficulty == 2) {
            for (int line = 0; line < 4; ++line) {
                int own = 0;
                int theirs = 0;
                for (int i = 0; i < 8; ++i) {
                    const int cell = line == 0   ? g.c[0][i]
                                     : line == 1 ? g.c[7][i]
                                     : line == 2 ? g.c[i][0]
                                                 : g.c[i][7];
                    own += cell == side;
                    theirs += cell == opponent;
                }
                sum += theirs == 0 ? 1000 * own : own == 0 ? -1000 * theirs : 0;
            }
        }
        return sum;
    }

    int final(const Grid& g) const {
        int mine = 0;
        int others = 0;
        for (const auto& column : g.c) {
            for (int cell : column) {
                mine += cell == side;
                others += cell == opponent;
            }
        }
        return mine > others ? WIN : mine < others ? -WIN : 0;
    }

    int search(Grid& g, bool maximising, int alpha, int beta, int ply, int& bx, int& by) {
        ++nodes;
        const MoveSet moves = movesOf(g, maximising ? side : opponent);
        if (moves.count == 0) {
            bx = -1;
            by = -1;
            return final(g);
        }
        if (ply == depth + 1) {
            return evaluate(g);
        }
        int best = maximising ? -LIMIT : LIMIT;
        bx = -1;
        by = -1;
        for (int i = 0; i < moves.count; ++i) {
            const int x = moves.x[i];
            const int y = moves.y[i];
            Grid child = g;
            flips(child, maximising ? side : opponent, x, y, true);
            int cx;
            int cy;
            // The root searches every later reply one wider than its best, so
            // that a cut-off bound cannot pass for a tie.
            const bool widen = ply == 0 && i > 0;
            const int score = search(child, !maximising, widen && maximising ? best - 1 : alpha,
                                     widen && !maximising ? best + 1 : beta, ply + 1, cx, cy);
            if (maximising ? score >= best : score <= best) {
                best = score;
                bx = x;
                by = y;
                if (maximising ? score >= beta : score <= alpha) {
                    return score;
                }
                if (maximising) {
                    alpha = std::max(alpha, score);
                } else {
                    beta = std::min(beta, score);
                }
            }
        }
        return best;
    }

    // The cell the computer plays, with its corner shortcut.
    std::pair<int, int> choose(Grid g, int& score) {
        score = 0;
        if (difficulty > 0) {
            for (const auto& corner : {std::pair{0, 0}, {0, 7}, {7, 0}, {7, 7}}) {
                if (g.c[corner.first][corner.second] == 0 &&
                    flips(g, side, corner.first, corner.second, false) > 0) {
                    return corner;
                }
            }
        }
        int x;
        int y;
        score = search(g, true, -LIMIT, LIMIT, 0, x, y);
        return {x, y};
    }
};

}  // namespace reference
