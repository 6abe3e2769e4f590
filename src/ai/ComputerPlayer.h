#pragma once

#include <cstdint>
#include <string>

#include "rules/Board.h"
#include "rules/MoveList.h"

// The computer opponent: a depth-limited alpha-beta search on the live Board.
class ComputerPlayer {
public:
    static constexpr int32_t WIN_SCORE = 3276700;
    static constexpr int32_t SCORE_LIMIT = 3276800;

    ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty, int32_t side);

    int32_t play(MoveList* moves);
    int32_t searchMax(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply, int32_t& bestX,
                      int32_t& bestY);
    int32_t searchMin(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply, int32_t& bestX,
                      int32_t& bestY);
    int32_t evaluate(const Board& board);
    int32_t edgeTerm(const Board& board);
    int32_t finalScore(MoveList* moves);

private:
    void loadValues(const std::string& path);

    int32_t depth;
    int32_t difficulty;
    int32_t values[8][8] = {};
    int32_t side;
    int32_t opponent;
    int32_t edgeWeight;
};
