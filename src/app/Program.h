#pragma once

#include <cstdint>

struct SDL_Surface;

// SDL video and the one 400x400 window. False, after "Argh! Can't init SDL!"
// on standard output and the reason on standard error, when SDL cannot start
// or no video mode can be set. Each platform has its own, in app/linux/ and
// app/web/. On Linux, with no driver named in SDL_VIDEODRIVER, only the window
// system's driver (x11 where DISPLAY is set, else wayland where
// WAYLAND_DISPLAY is) is tried, never a text-mode one.
bool setUpDisplay(SDL_Surface** screen);

// The program proper: the menu, the display, then menu and game in turn until
// the exit item. Arguments are ignored. Always returns 1.
int32_t runProgram(int argc, char** argv);
