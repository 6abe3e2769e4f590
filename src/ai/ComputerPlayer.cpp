#include "ai/ComputerPlayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace {

// White space as the C library's formatted input knows it (locale "C").
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr int32_t CORNERS[4][2] = {{0, 0}, {0, 7}, {7, 0}, {7, 7}};

}  // namespace

ComputerPlayer::ComputerPlayer(const std::string& path, int32_t depth, int32_t difficulty,
                               int32_t side)
    : depth(depth),
      difficulty(difficulty),
      side(side),
      opponent(opponentOf(side)),
      edgeWeight(1000) {
    loadValues(path);
    engine = SearchEngine(values, depth, difficulty, edgeWeight);
}

void ComputerPlayer::loadValues(const std::string& path) {
    // Only a regular file is read: a directory, FIFO, device or socket is as
    // unreadable as a missing file and is reported the same way (without the
    // wait for a writer that opening a FIFO would cost). Binary: a carriage
    // return stays in the line, where it is white space.
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) {
                close(fd);
            }
        }
    };
    const Descriptor file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status;
    if (file.fd < 0 || fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        std::cerr << "Failed to open '" << path << "'." << std::endl;
        return;
    }
    // Exactly eight line reads into one buffer, as a stream's getline does them:
    // once the file has ended the buffer keeps the last text, so a last line
    // without its line feed also fills the rows after it. Reading is bounded:
    // a line keeps its first LINE_KEPT bytes (no table needs more), and after
    // FILE_READ bytes in all the file counts as ended.
    constexpr size_t LINE_KEPT = 4096;
    constexpr size_t FILE_READ = 65536;
    char chunk[4096];
    size_t chunkSize = 0;
    size_t chunkAt = 0;
    size_t total = 0;
    bool ended = false;
    std::string line;
    for (int32_t row = 0; row < 8; ++row) {
        if (!ended) {
            line.clear();
            while (true) {
                if (chunkAt == chunkSize) {
                    const ssize_t got =
                        total < FILE_READ
                            ? read(file.fd, chunk, std::min(sizeof chunk, FILE_READ - total))
                            : 0;
                    if (got <= 0) {
                        ended = true;
                        break;
                    }
                    chunkSize = static_cast<size_t>(got);
                    chunkAt = 0;
                    total += chunkSize;
                }
                const char c = chunk[chunkAt++];
                if (c == '\n') {
                    break;
                }
                if (line.size() < LINE_KEPT) {
                    line += c;
                }
            }
        }
        parseRow(line, row);
    }
}

// Reads a line the way the pattern "%d %d %d %d %d %d %d %d" does: up to eight
// optionally signed decimals, any white space (or none) around them, stopping
// at the first item that is not a number. A number outside the 32-bit range
// counts as not a number instead of wrapping around.
void ComputerPlayer::parseRow(const std::string& line, int32_t row) {
    const char* p = line.c_str();  // like the C library, the text ends at a NUL
    for (int32_t column = 0; column < 8; ++column) {
        while (isBlank(*p)) {
            ++p;
        }
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        if (*p < '0' || *p > '9') {
            return;
        }
        // Past 2^31 the magnitude is out of range whatever follows, so stop growing it.
        constexpr int64_t TOO_LARGE = int64_t{1} << 32;
        int64_t magnitude = 0;
        while (*p >= '0' && *p <= '9') {
            if (magnitude < TOO_LARGE) {
                magnitude = magnitude * 10 + (*p - '0');
            }
            ++p;
        }
        const int64_t value = negative ? -magnitude : magnitude;
        if (value < INT32_MIN || value > INT32_MAX) {
            return;
        }
        values[column][row] = static_cast<int32_t>(value);
    }
}

int32_t ComputerPlayer::play(MoveList* moves) {
    if (moves->isEmpty()) {
        return 1;
    }
    if (difficulty > 0) {
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
    const bool plain = (side == RED || side == GREEN) &&
                       (SearchEngine::discsOf(*board, EMPTY) | SearchEngine::discsOf(*board, RED) |
                        SearchEngine::discsOf(*board, GREEN)) == ~uint64_t{0};
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
            score = engine.search<!MAXIMISING>(SearchEngine::discsOf(*board, side),
                                               SearchEngine::discsOf(*board, opponent), low, high,
                                               ply + 1);
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
    return engine.evaluate(SearchEngine::discsOf(board, side),
                           SearchEngine::discsOf(board, opponent));
}

int32_t ComputerPlayer::edgeTerm(const Board& board) {
    return engine.edgeTerm(SearchEngine::discsOf(board, side),
                           SearchEngine::discsOf(board, opponent));
}

int32_t ComputerPlayer::finalScore(MoveList* moves) {
    int32_t red;
    int32_t green;
    moves->counts(red, green);
    const int32_t mine = side == RED ? red : green;
    const int32_t others = side == RED ? green : red;
    if (mine > others) {
        return WIN_SCORE;
    }
    if (mine < others) {
        return -WIN_SCORE;
    }
    return 0;
}
