#pragma once

#include <SDL.h>

// True once the window manager has asked to close the window (its close
// button); read where ESC is read, after SDL_PumpEvents. The request stays in
// the queue, so a game that sees it ends and the menu after it sees it too.
inline bool closeRequested() {
    SDL_Event quit;
    return SDL_PeepEvents(&quit, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0;
}

// Shows the frame on the screen surface again when the window has been
// uncovered; called after SDL_PumpEvents. Classic SDL repaints on its own,
// but SDL 1.2 over SDL 2 leaves the window black and queues an exposure.
inline void showAgainIfExposed() {
    SDL_Event exposure;
    bool exposed = false;
    while (SDL_PeepEvents(&exposure, 1, SDL_GETEVENT, SDL_VIDEOEXPOSEMASK) > 0) {
        exposed = true;
    }
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (exposed && screen != nullptr) {
        SDL_Flip(screen);
    }
}
