// The display in a browser page: Emscripten's SDL 1.2 draws on the page's
// canvas, which stands in for the window.

#include <SDL.h>

#include <cstdio>

#include "app/Program.h"
#include "screens/Layout.h"

namespace {
constexpr int BITS_PER_PIXEL = 24;
}  // namespace

// Emscripten's SDL has no SDL_DisplayFormat. The canvas already holds every
// picture in the page's own format, so there is nothing to convert: the
// picture stays as it was loaded.
extern "C" SDL_Surface* SDL_DisplayFormat(SDL_Surface*) {
    return nullptr;
}

bool setUpDisplay(SDL_Surface** screen) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::printf("Argh! Can't init SDL!\n");
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return false;
    }
    // No SDL_Quit at exit: the page keeps its canvas, and the browser's SDL
    // has nothing to release.
    *screen = SDL_SetVideoMode(layout::WINDOW_SIZE, layout::WINDOW_SIZE, BITS_PER_PIXEL,
                               SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (*screen == nullptr) {
        std::printf("Argh! Can't init SDL!\n");
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption("vantrixo", "");
    // Key repeat and the ignored event types have no counterpart here: the
    // page's event layer (sdl_events.js) applies every browser event to the
    // key and mouse state once and keeps only quit requests in the queue.
    return true;
}
