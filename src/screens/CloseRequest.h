#pragma once

#include <SDL.h>

// True once the window manager has asked to close the window (its close
// button); call it after SDL_PumpEvents, where ESC is read. The request stays
// in the queue, so a game that sees it ends and the menu after it sees it too.
// Whatever else is queued is taken out unread (the keys are polled, not read
// as events): a full queue would drop a later close request.
inline bool closeRequested() {
    SDL_Event unread[16];
    while (SDL_PeepEvents(unread, 16, SDL_GETEVENT, SDL_ALLEVENTS & ~SDL_QUITMASK) > 0) {
    }
    SDL_Event quit;
    return SDL_PeepEvents(&quit, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0;
}
