#pragma once

#include <SDL.h>

// True once the window manager has asked to close the window (its close
// button); read where ESC is read, after SDL_PumpEvents. The request stays in
// the queue, so a game that sees it ends and the menu after it sees it too.
inline bool closeRequested() {
    SDL_Event quit;
    return SDL_PeepEvents(&quit, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0;
}
