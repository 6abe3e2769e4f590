#include "rules/MoveList.h"

#include <cstdio>

#include "rules/DiscSets.h"

MoveList::MoveList(int32_t side, Board* board) : side(side), board(board) {
    generate();
}

int32_t MoveList::sideToMove(const Board& board, int32_t side) {
    const uint64_t own = board.discsOf(side);
    const uint64_t opposing = board.discsOf(opponentOf(side));
    return DiscSets::canMove(own, opposing)   ? side
           : DiscSets::canMove(opposing, own) ? opponentOf(side)
                                              : NO_SIDE;
}

MoveList::~MoveList() {
    Move* move = head;
    while (move != nullptr) {
        Move* following = move->next;
        delete move;
        move = following;
    }
}

// Anything neither the side's nor empty is an opposing disc. A move cell
// found a second time gains a line in front of its others; a new one goes in
// front of the list.
void MoveList::generate() {
    const uint64_t own = board->discsOf(side);
    const uint64_t empty = board->discsOf(EMPTY);
    Move* byCell[64];
    uint64_t listed = 0;
    DiscSets::forEachLine(
        own, ~(own | empty), [&](int32_t anchor, int32_t code, int32_t target, uint64_t) {
            if ((listed >> target & 1) != 0) {
                byCell[target]->addLine(anchor >> 3, anchor & 7, code);
                return;
            }
            Move* move = new Move(target >> 3, target & 7, anchor >> 3, anchor & 7, code);
            move->next = head;
            if (head != nullptr) {
                head->prev = move;
            }
            head = move;
            byCell[target] = move;
            listed |= uint64_t{1} << target;
        });
}

Move* MoveList::findMove(int32_t x, int32_t y) const {
    if (lastFound != nullptr) {
        if (lastFound->x == x && lastFound->y == y) {
            return lastFound;
        }
        Move* following = lastFound->next;
        if (following != nullptr && following->x == x && following->y == y) {
            lastFound = following;
            return following;
        }
    }
    for (Move* move = head; move != nullptr; move = move->next) {
        if (move->x == x && move->y == y) {
            lastFound = move;
            return move;
        }
    }
    return nullptr;
}

void MoveList::addMove(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY, int32_t direction) {
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
            board->cells[cx][cy] = side;
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
            board->cells[cx][cy] = other;
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
