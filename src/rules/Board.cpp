#include "rules/Board.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstring>

#include "rules/DiscSets.h"

// VANTRIXO_PORTABLE builds the plain loop, so that path is tested too.
#if defined(__SSE2__) && !defined(VANTRIXO_PORTABLE)
#define VANTRIXO_SSE2 1
#include <emmintrin.h>
#endif

Board::Board() {
    boardImage = IMG_Load("data/game/tabuleiro.png");
    flipImage = IMG_Load("data/game/flip.png");
    for (int i = 1; i <= 10; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "data/bolinha/%d.png", i);
        frames[i - 1] = IMG_Load(path);
    }
    for (auto& column : cells) {
        for (int32_t& cell : column) {
            cell = EMPTY;
        }
    }
    cells[3][3] = GREEN;
    cells[3][4] = RED;
    cells[4][3] = RED;
    cells[4][4] = GREEN;
}

Board::Board(const Board& source) : boardImage(nullptr), flipImage(nullptr) {
    std::memcpy(cells, source.cells, sizeof cells);
    for (SDL_Surface*& frame : frames) {
        frame = nullptr;
    }
}

Board::~Board() {
    if (boardImage != nullptr) {
        SDL_FreeSurface(boardImage);
    }
    if (flipImage != nullptr) {
        SDL_FreeSurface(flipImage);
    }
    for (SDL_Surface* frame : frames) {
        if (frame != nullptr) {
            SDL_FreeSurface(frame);
        }
    }
}

void Board::recount() {
    numRed = DiscSets::count(discsOf(RED));
    numGreen = DiscSets::count(discsOf(GREEN));
}

int32_t Board::winner() const {
    const int32_t lead = DiscSets::count(discsOf(RED)) - DiscSets::count(discsOf(GREEN));
    return lead > 0 ? RED : lead < 0 ? GREEN : NO_SIDE;
}

void Board::saveSnapshot() {
    std::memcpy(previousCells, cells, sizeof cells);
}

uint64_t Board::discsOf(int32_t value) const {
    const int32_t* cell = &cells[0][0];
    uint64_t discs = 0;
#if defined(VANTRIXO_SSE2)
    // Sixteen cells at a time: compare, pack the answers down to one byte
    // each, and gather their top bits.
    const __m128i wanted = _mm_set1_epi32(value);
    for (int32_t i = 0; i < 64; i += 16) {
        __m128i same[4];
        for (int32_t q = 0; q < 4; ++q) {
            same[q] = _mm_cmpeq_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(cell + i + 4 * q)), wanted);
        }
        const __m128i bytes =
            _mm_packs_epi16(_mm_packs_epi32(same[0], same[1]), _mm_packs_epi32(same[2], same[3]));
        discs |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(bytes))} << i;
    }
#else
    for (int32_t i = 0; i < 64; ++i) {
        discs |= uint64_t{cell[i] == value} << i;
    }
#endif
    return discs;
}
