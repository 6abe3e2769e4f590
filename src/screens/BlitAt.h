#pragma once

#include <SDL.h>

#include <cstdint>

// Blits the whole picture with its top-left corner at (x, y). A null picture
// (a file that did not load) is refused by SDL and simply draws nothing.
inline void blitAt(SDL_Surface* picture, SDL_Surface* screen, int32_t x, int32_t y) {
    SDL_Rect where;
    where.x = static_cast<Sint16>(x);
    where.y = static_cast<Sint16>(y);
    where.w = 0;
    where.h = 0;
    SDL_BlitSurface(picture, nullptr, screen, &where);
}
