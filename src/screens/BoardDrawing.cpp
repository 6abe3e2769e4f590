#include <SDL.h>

#include "rules/Board.h"
#include "screens/BlitAt.h"
#include "screens/DisplayFormat.h"
#include "screens/Layout.h"

namespace {

int32_t discLeft(int32_t x) {
    return layout::DISC_ORIGIN + layout::CELL_PITCH * x;
}

constexpr int32_t FRAME_COUNT = 10;
constexpr Uint32 FRAME_DELAY_MS = 40;

}  // namespace

void Board::convertPictures() {
    toDisplayFormat(boardImage);
    toDisplayFormat(flipImage);
    for (SDL_Surface*& frame : frames) {
        toDisplayFormat(frame);
    }
}

void Board::draw(SDL_Surface* screen) {
    blitAt(boardImage, screen, 0, 0);
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            if (cells[x][y] == RED) {
                blitAt(frames[0], screen, discLeft(x), discLeft(y));
            } else if (cells[x][y] == GREEN) {
                blitAt(frames[9], screen, discLeft(x), discLeft(y));
            }
        }
    }
    // No flip: the game screen adds its own pictures on top and flips once.
}

void Board::animateFlips(SDL_Surface* screen) {
    blitAt(boardImage, screen, 0, 0);
    blitAt(flipImage, screen, layout::INDICATOR.x, layout::INDICATOR.y);
    // Each frame repaints only the discs; the disc pictures are opaque squares,
    // so the previous stage never shows through.
    for (int32_t f = 0; f < FRAME_COUNT; ++f) {
        for (int32_t x = 0; x < 8; ++x) {
            for (int32_t y = 0; y < 8; ++y) {
                const int32_t now = cells[x][y];
                const int32_t before = previousCells[x][y];
                if (now == RED) {
                    // A red disc that was green turns 10, 9, ... 1.
                    blitAt(before == GREEN ? frames[9 - f] : frames[0], screen, discLeft(x),
                           discLeft(y));
                } else if (now == GREEN) {
                    // A green disc that was red turns 1, 2, ... 10.
                    blitAt(before == RED ? frames[f] : frames[9], screen, discLeft(x), discLeft(y));
                }
            }
        }
        SDL_Flip(screen);
        SDL_Delay(FRAME_DELAY_MS);
    }
}
