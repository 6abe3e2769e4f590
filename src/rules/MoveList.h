#pragma once

#include <cstdint>

#include "rules/Board.h"
#include "rules/Move.h"

// The legal moves of one side on one Board, in a fixed order that decides the
// computer's choice between equal moves. Owns its Moves, never its Board.
class MoveList {
  public:
    MoveList(int32_t side, Board* board);
    MoveList(const MoveList&) = delete;
    MoveList& operator=(const MoveList&) = delete;
    ~MoveList();

    // Whose move it is when it is `side`'s turn (RED or GREEN): `side` when it has a move,
    // else the other side (a pass), else NO_SIDE: the game is over.
    static int32_t sideToMove(const Board& board, int32_t side);

    bool hasMove(int32_t x, int32_t y) const { return findMove(x, y) != nullptr; }
    bool isEmpty() const { return head == nullptr; }
    void apply(int32_t x, int32_t y);
    void undo(int32_t x, int32_t y);
    void counts(int32_t& red, int32_t& green);
    Board* getBoard() const { return board; }
    Move* first() const { return head; }
    Move* findMove(int32_t x, int32_t y) const;
    void addMove(int32_t x, int32_t y, int32_t anchorX, int32_t anchorY, int32_t direction);

  private:
    void generate();

    int32_t side;
    Board* board;
    Move* head = nullptr;
    // The Move that findMove last returned. A list never holds two Moves for
    // one cell, so checking it and its successor first finds the same Move;
    // the computer's root walks its list applying and undoing each Move, so
    // each lookup there costs one comparison.
    mutable Move* lastFound = nullptr;
};
