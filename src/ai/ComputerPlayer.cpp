#include "ai/ComputerPlayer.h"

namespace {

constexpr int32_t CORNERS[4][2] = {{0, 0}, {0, 7}, {7, 0}, {7, 7}};

// What the root does with a reply's score: the computer's nodes
// (MAXIMISING) keep the highest score and cut at beta, the opponent's the
// lowest and cut at alpha. Equality counts, so among equal scores the later
// move wins.
enum class Verdict { KEPT, TAKEN, CUT };
template <bool MAXIMISING>
Verdict weigh(int32_t score, int32_t& best, int32_t& alpha, int32_t& beta) {
    if (MAXIMISING ? score < best : score > best) {
        return Verdict::KEPT;
    }
    best = score;
    if (MAXIMISING ? score >= beta : score <= alpha) {
        return Verdict::CUT;
    }
    (MAXIMISING ? alpha : beta) = MAXIMISING ? std::max(alpha, score) : std::min(beta, score);
    return Verdict::TAKEN;
}

// The window (low, high) for a node's next reply. A reply search that is
// cut off returns only a bound. At the root a bound equal to the best so
// far would pass for a tie and hand the move to a possibly much worse later
// one, so there, once a move has been scored, the window is one wider than
// the best: a true tie still comes back exact.
template <bool MAXIMISING>
void replyWindow(int32_t ply, bool scored, int32_t best, int32_t& low, int32_t& high) {
    if (ply == 0 && scored) {
        (MAXIMISING ? low : high) = MAXIMISING ? best - 1 : best + 1;
    }
}

}  // namespace

ComputerPlayer::ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty,
                               int32_t side)
    : depth(depth),
      difficulty(difficulty),
      values(path),
      side(side),
      engine(values.cells(), depth, difficulty) {}

int32_t ComputerPlayer::play(MoveList* moves) {
    if (moves->isEmpty()) {
        return 1;
    }
    if (difficulty > EASY) {
        for (const auto& corner : CORNERS) {
            if (moves->hasMove(corner[0], corner[1])) {
                moves->apply(corner[0], corner[1]);
                return 1;
            }
        }
    }
    int32_t bestX = -1;
    int32_t bestY = -1;
    searchMax(moves, -SCORE_LIMIT, SCORE_LIMIT, 0, bestX, bestY);
    if (!engine.abandoned()) {
        moves->apply(bestX, bestY);
    }
    return 1;
}

int32_t ComputerPlayer::searchMax(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply,
                                  int32_t& bestX, int32_t& bestY) {
    return searchNode<true>(moves, alpha, beta, ply, bestX, bestY);
}

int32_t ComputerPlayer::searchMin(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply,
                                  int32_t& bestX, int32_t& bestY) {
    return searchNode<false>(moves, alpha, beta, ply, bestX, bestY);
}

// This node walks its list and plays on the Board; below it the engine
// searches on disc sets, unless the Board holds something other than empty,
// red and green cells (or the computer plays neither colour), which only the
// lists know how to treat.
template <bool MAXIMISING>
int32_t ComputerPlayer::searchNode(MoveList* moves, int32_t alpha, int32_t beta, int32_t ply,
                                   int32_t& bestX, int32_t& bestY) {
    if (ply == 0) {
        engine.startSearch();
    }
    engine.countNode();
    if (moves->isEmpty()) {
        bestX = -1;
        bestY = -1;
        return finalScore(moves);
    }
    // Compared in 64 bits so that no depth setting can overflow depth + 1.
    if (int64_t{ply} == int64_t{depth} + 1) {
        return evaluate(*moves->getBoard());
    }
    Board* board = moves->getBoard();
    const bool plain =
        (side == RED || side == GREEN) &&
        (board->discsOf(EMPTY) | board->discsOf(RED) | board->discsOf(GREEN)) == ~uint64_t{0};
    int32_t best = MAXIMISING ? -SCORE_LIMIT : SCORE_LIMIT;
    bestX = -1;
    bestY = -1;
    for (const Move* move = moves->first(); move != nullptr; move = move->next) {
        int32_t x;
        int32_t y;
        move->cell(x, y);
        int32_t low = alpha;
        int32_t high = beta;
        replyWindow<MAXIMISING>(ply, move != moves->first(), best, low, high);
        moves->apply(x, y);
        int32_t score;
        if (plain) {
            score = engine.search<!MAXIMISING>(
                board->discsOf(side), board->discsOf(opponentOf(side)), low, high, ply + 1);
        } else {
            MoveList* replies = new MoveList(MAXIMISING ? opponentOf(side) : side, board);
            int32_t replyX;
            int32_t replyY;
            score = MAXIMISING ? searchMin(replies, low, high, ply + 1, replyX, replyY)
                               : searchMax(replies, low, high, ply + 1, replyX, replyY);
            delete replies;
        }
        moves->undo(x, y);
        if (engine.abandoned()) {
            return best;
        }
        const Verdict verdict = weigh<MAXIMISING>(score, best, alpha, beta);
        if (verdict != Verdict::KEPT) {
            bestX = x;
            bestY = y;
        }
        if (verdict == Verdict::CUT) {
            return score;
        }
    }
    return best;
}

int32_t ComputerPlayer::evaluate(const Board& board) {
    return engine.evaluation().evaluate(board.discsOf(side), board.discsOf(opponentOf(side)));
}

int32_t ComputerPlayer::edgeTerm(const Board& board) {
    return engine.evaluation().edgeTerm(board.discsOf(side), board.discsOf(opponentOf(side)));
}

int32_t ComputerPlayer::finalScore(MoveList* moves) {
    int32_t red;
    int32_t green;
    moves->counts(red, green);
    return Evaluation::finalScore(side == RED ? red : green, side == RED ? green : red);
}
