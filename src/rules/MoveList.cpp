#include "rules/MoveList.h"

#include <cstdio>

#include <type_traits>

#include "rules/DiscSets.h"

// VANTRIXO_PORTABLE builds the plain loops, so that path is tested too.
#if defined(__SSE2__) && !defined(VANTRIXO_PORTABLE)
#define VANTRIXO_SSE2 1
#include <emmintrin.h>
#endif

namespace {

// The cells holding `side` and the empty cells, as bit sets.
void readCells(const int32_t* cells, int32_t side, uint64_t& own, uint64_t& empty) {
#if defined(VANTRIXO_SSE2)
    const __m128i sides = _mm_set1_epi32(side);
    const __m128i empties = _mm_set1_epi32(EMPTY);
    own = 0;
    empty = 0;
    for (int32_t i = 0; i < 64; i += 16) {
        __m128i quarter[4];
        for (int32_t q = 0; q < 4; ++q) {
            quarter[q] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + i + 4 * q));
        }
        const auto mask = [&](__m128i value) {
            const __m128i low = _mm_packs_epi32(_mm_cmpeq_epi32(quarter[0], value),
                                                _mm_cmpeq_epi32(quarter[1], value));
            const __m128i high = _mm_packs_epi32(_mm_cmpeq_epi32(quarter[2], value),
                                                 _mm_cmpeq_epi32(quarter[3], value));
            return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)))}
                   << i;
        };
        own |= mask(sides);
        empty |= mask(empties);
    }
#else
    own = 0;
    empty = 0;
    for (int32_t i = 0; i < 64; ++i) {
        own |= uint64_t{cells[i] == side} << i;
        empty |= uint64_t{cells[i] == EMPTY} << i;
    }
#endif
}
}  // namespace

MoveList::MoveList(int32_t side, Board* board) : side(side), board(board) {
    generate();
}

MoveList::~MoveList() {
    Move* move = head;
    while (move != nullptr) {
        Move* following = move->next;
        delete move;
        move = following;
    }
}

// Finds the same moves and lines, in the same order, as scanning every anchor
// (x outer, y inner), trying its directions in the order left, right, down,
// up, up-left, up-right, down-right, down-left (codes 0, 1, 3, 2, 4, 5, 7, 6)
// and walking over each opposing run. Whole-board bit operations decide up
// front which anchor and direction close a line, so only those are walked.
void MoveList::generate() {
    uint64_t own;
    uint64_t empty;
    readCells(&board->cells[0][0], side, own, empty);
    // Anything neither the side's nor empty is an opposing disc.
    const uint64_t opposing = ~(own | empty);

    const uint64_t toward[8] = {DiscSets::anchorsToward<0>(own, opposing, empty),
                                DiscSets::anchorsToward<1>(own, opposing, empty),
                                DiscSets::anchorsToward<2>(own, opposing, empty),
                                DiscSets::anchorsToward<3>(own, opposing, empty),
                                DiscSets::anchorsToward<4>(own, opposing, empty),
                                DiscSets::anchorsToward<5>(own, opposing, empty),
                                DiscSets::anchorsToward<6>(own, opposing, empty),
                                DiscSets::anchorsToward<7>(own, opposing, empty)};
    const uint64_t anyAnchor = toward[0] | toward[1] | toward[2] | toward[3] | toward[4] |
                               toward[5] | toward[6] | toward[7];

    Move* byCell[64];
    uint64_t listed = 0;
    for (uint64_t rest = anyAnchor; rest != 0; rest &= rest - 1) {
        const int32_t anchor = __builtin_ctzll(rest);
        const auto line = [&](auto codeConstant) {
            constexpr int32_t CODE = decltype(codeConstant)::value;
            constexpr int32_t STEP = DiscSets::stepOf(CODE);
            if ((toward[CODE] >> anchor & 1) == 0) {
                return;
            }
            int32_t target = anchor + 2 * STEP;
            while ((opposing >> target & 1) != 0) {
                target += STEP;
            }
            if ((listed >> target & 1) != 0) {
                byCell[target]->addLine(anchor >> 3, anchor & 7, CODE);
                return;
            }
            Move* move = new Move(target >> 3, target & 7, anchor >> 3, anchor & 7, CODE);
            move->next = head;
            if (head != nullptr) {
                head->prev = move;
            }
            head = move;
            byCell[target] = move;
            listed |= uint64_t{1} << target;
        };
        line(std::integral_constant<int32_t, 0>{});
        line(std::integral_constant<int32_t, 1>{});
        line(std::integral_constant<int32_t, 3>{});
        line(std::integral_constant<int32_t, 2>{});
        line(std::integral_constant<int32_t, 4>{});
        line(std::integral_constant<int32_t, 5>{});
        line(std::integral_constant<int32_t, 7>{});
        line(std::integral_constant<int32_t, 6>{});
    }
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
