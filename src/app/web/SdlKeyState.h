#pragma once

// Emscripten's SDL 1.2 provides SDL_GetKeyState but its headers do not
// declare it; the web build includes this ahead of every source.

#include <SDL.h>

extern "C" Uint8* SDL_GetKeyState(int* numkeys);
