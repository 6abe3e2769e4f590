#include "ai/ComputerPlayer.h"

namespace {

constexpr int32_t CORNERS[4][2] = {{0, 0}, {0, 7}, {7, 0}, {7, 7}};

}  // namespace

ComputerPlayer::ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty,
                               int32_t side)
    : depth(depth),
      difficulty(difficulty),
      side(side),
      opponent(opponentOf(side)),
      edgeWeight(1000) {
    values.loadValues(path);
    engine = SearchEngine(values.cells(), depth, difficulty, edgeWeight);
}

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

// Scores are always the computer's: the computer's nodes take the highest
// child score and cut at beta, the opponent's nodes the lowest and cut at alpha.
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
        SearchEngine::replyWindow<MAXIMISING>(ply, move != moves->first(), best, low, high);
        moves->apply(x, y);
        int32_t score;
        if (plain) {
            score = engine.search<!MAXIMISING>(board->discsOf(side), board->discsOf(opponent), low,
                                               high, ply + 1);
        } else {
            MoveList* replies = new MoveList(MAXIMISING ? opponent : side, board);
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
        const SearchEngine::Verdict verdict =
            SearchEngine::weigh<MAXIMISING>(score, best, alpha, beta);
        if (verdict != SearchEngine::Verdict::KEPT) {
            bestX = x;
            bestY = y;
        }
        if (verdict == SearchEngine::Verdict::CUT) {
            return score;
        }
    }
    return best;
}

int32_t ComputerPlayer::evaluate(const Board& board) {
    return engine.evaluate(board.discsOf(side), board.discsOf(opponent));
}

int32_t ComputerPlayer::edgeTerm(const Board& board) {
    return engine.edgeTerm(board.discsOf(side), board.discsOf(opponent));
}

int32_t ComputerPlayer::finalScore(MoveList* moves) {
    int32_t red;
    int32_t green;
    moves->counts(red, green);
    return SearchEngine::finalScore(side == RED ? red : green, side == RED ? green : red);
}
