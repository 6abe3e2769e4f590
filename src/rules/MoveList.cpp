#include "rules/MoveList.h"

#include <cstdio>

namespace {
// Directions are examined in this order; it fixes the order of moves and lines.
constexpr int32_t SEARCH_ORDER[8] = {0, 1, 3, 2, 4, 5, 7, 6};
}  // namespace

MoveList::MoveList(int32_t side, Board* board) : side(side), board(board) { generate(); }

MoveList::~MoveList() {
    Move* move = head;
    while (move != nullptr) {
        Move* following = move->next;
        delete move;
        move = following;
    }
}

void MoveList::generate() {
    const auto& cells = board->cells;
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            if (cells[x][y] != side) {
                continue;
            }
            for (int32_t code : SEARCH_ORDER) {
                const int32_t dx = FlipLine::DX[code];
                const int32_t dy = FlipLine::DY[code];
                // A run needs at least one disc to jump, so the cell two steps
                // away must be on the board.
                if (!Board::isInside(x + 2 * dx, y + 2 * dy)) {
                    continue;
                }
                const int32_t neighbour = cells[x + dx][y + dy];
                if (neighbour == side || neighbour == EMPTY) {
                    continue;
                }
                int32_t cx = x + 2 * dx;
                int32_t cy = y + 2 * dy;
                while (Board::isInside(cx, cy)) {
                    const int32_t value = cells[cx][cy];
                    if (value == EMPTY) {
                        addMove(cx, cy, x, y, code);
                        break;
                    }
                    if (value == side) {
                        break;
                    }
                    cx += dx;
                    cy += dy;
                }
            }
        }
    }
}

Move* MoveList::findMove(int32_t x, int32_t y) const {
    for (Move* move = head; move != nullptr; move = move->next) {
        if (move->x == x && move->y == y) {
            return move;
        }
    }
    return nullptr;
}

void MoveList::addMove(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY,
                       int32_t direction) {
    Move* existing = findMove(x, y);
    if (existing != nullptr) {
        existing->addLine(anchorX, anchorY, direction);
        return;
    }
    Move* move = new Move(x, y, anchorX, anchorY, direction);
    move->next = head;
    if (head != nullptr) {
        head->prev = move;
    }
    head = move;
}

void MoveList::apply(int32_t x, int32_t y) {
    const Move* move = findMove(x, y);
    if (move == nullptr) {
        std::fputs("Error: Move invalid!\n", stdout);
        return;
    }
    for (const FlipLine* line = move->lines; line != nullptr; line = line->next) {
        const int32_t dx = FlipLine::DX[line->direction];
        const int32_t dy = FlipLine::DY[line->direction];
        int32_t cx = line->anchorX + dx;
        int32_t cy = line->anchorY + dy;
        // The walk stays on the board even for a hand-made line that misses the cell.
        while (Board::isInside(cx, cy)) {
            board->setCell(cx, cy, side);
            if (cx == x && cy == y) {
                break;
            }
            cx += dx;
            cy += dy;
        }
    }
}

void MoveList::undo(int32_t x, int32_t y) {
    const Move* move = findMove(x, y);
    if (move == nullptr) {
        std::fputs("Error: Move invalid!\n", stdout);
        return;
    }
    const int32_t other = opponentOf(side);
    for (const FlipLine* line = move->lines; line != nullptr; line = line->next) {
        const int32_t dx = FlipLine::DX[line->direction];
        const int32_t dy = FlipLine::DY[line->direction];
        int32_t cx = line->anchorX + dx;
        int32_t cy = line->anchorY + dy;
        while (Board::isInside(cx, cy) && (cx != x || cy != y)) {
            board->setCell(cx, cy, other);
            cx += dx;
            cy += dy;
        }
        board->setCell(x, y, EMPTY);
    }
}

void MoveList::counts(int32_t& red, int32_t& green) {
    board->recount();
    red = board->redCount();
    green = board->greenCount();
}
