#pragma once

// Link seam for the screen tests: SDL input, timing, flips and picture loading
// are replaced (-Wl,--wrap=...) so the screens run without a display, read a
// scripted pointer and keyboard, and draw with recognisable solid pictures.
// Blits are real, so what a test reads back is what the code drew.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace seam {

// What the pointer, the left button and ESC do in one poll (one SDL_PumpEvents).
struct Input {
    int x = 0;
    int y = 0;
    bool button = false;
    bool esc = false;
};

enum class Kind { Pump, Flip, Delay };

struct Event {
    Kind kind;
    uint32_t value;  // milliseconds for Delay, index into flips() for Flip
};

using Pixels = std::vector<Uint32>;

// Clears the recordings and the script; every picture loads again.
void reset();
// Inputs for successive polls. Once they run out the last one holds; a loop
// that polls far beyond the script is stopped with ESC and overran() says so.
void script(const std::vector<Input>& inputs);
bool overran();
// Makes IMG_Load return null for every path, as if the files were missing.
void setPicturesMissing(bool missing);

const std::vector<Event>& events();
const std::vector<Pixels>& flips();
const std::vector<std::string>& loads();
uint32_t totalDelay();
int flipCount();

// A 400x400 in-memory screen filled with black, which no picture uses.
SDL_Surface* makeScreen();
Pixels grab(SDL_Surface* screen);
// The picture whose colour is at (x, y), e.g. "bolinha/3.png"; "" for black.
std::string pictureAt(const Pixels& pixels, int x, int y);

}  // namespace seam
