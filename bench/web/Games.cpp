// Whole games of a person against the computer at hard, depth 7, from the
// opening: red plays seeded random legal moves, green is the computer. The
// browser test plays the first in the page and expects the same replies;
// the measuring script times every reply here and in the browser. One line
// a move, "red X Y" or "green X Y MS" (MS: how long `play` took).
//   vantrixo_games [GAMES]     game k (from 0) seeded with k + 1; default 1

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"

namespace {

constexpr int32_t HARD = 2;
constexpr int32_t DEEPEST = 7;

// The cell that was empty before the move and holds a disc after it.
void placed(const Board& board, int32_t& x, int32_t& y) {
    for (x = 0; x < 8; ++x) {
        for (y = 0; y < 8; ++y) {
            if (board.getPreviousCell(x, y) == EMPTY && board.getCell(x, y) != EMPTY) {
                return;
            }
        }
    }
}

void playGame(uint32_t seed) {
    Board board;
    std::mt19937 random(seed);
    ComputerPlayer computer(PositionValues::SHIPPED_TABLE, DEEPEST, HARD, GREEN);
    for (int32_t turn = RED; turn != NO_SIDE;
         turn = MoveList::sideToMove(board, opponentOf(turn))) {
        MoveList moves(turn, &board);
        board.saveSnapshot();
        int32_t x = -1;
        int32_t y = -1;
        if (turn == RED) {
            int32_t count = 0;
            for (Move* m = moves.first(); m != nullptr; m = m->next) {
                ++count;
            }
            Move* chosen = moves.first();
            for (uint32_t skip = random() % static_cast<uint32_t>(count); skip > 0; --skip) {
                chosen = chosen->next;
            }
            chosen->cell(x, y);
            moves.apply(x, y);
            std::printf("red %d %d\n", x, y);
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        computer.play(&moves);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        placed(board, x, y);
        std::printf("green %d %d %.2f\n", x, y, took.count());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::atoi(argv[1]) : 1;
    for (int game = 0; game < games; ++game) {
        std::printf("game %d\n", game);
        playGame(static_cast<uint32_t>(game) + 1);
    }
    return 0;
}
