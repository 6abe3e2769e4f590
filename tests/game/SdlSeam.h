#pragma once

// The SDL link seam for the game and program tests. Input follows a scripted
// timeline on a virtual clock that only the waits move forward: SDL_Delay, and
// the frame pacing's nanosleep. Waits, flips, blits and the loading and freeing
// of pictures are recorded in one list, in the order they happen.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace seam {

// From time `at` on (until the next entry) the pointer is at (x, y), the
// button mask is `buttons` and ESC is down or not.
struct Input {
    uint32_t at;
    int x;
    int y;
    uint8_t buttons;
    bool esc;
};

enum class Kind { Delay, Pace, Flip, Blit, Load, Free, Other };

struct Call {
    Kind kind;
    uint32_t at;       // virtual time when it happened
    uint32_t ms;       // Delay, Pace: the wait
    std::string name;  // Blit: the source picture; Load, Free: the picture
    bool clipped;      // Blit: a source rectangle was given
    SDL_Rect source;   // Blit: that rectangle
    int x;             // Blit: destination
    int y;
};

// Back to time 0, an empty record and no input (pointer at 0,0). After the
// script's last entry ESC is forced down once `giveUpAt` has passed, so a test
// that goes wrong ends instead of looping.
void reset(std::vector<Input> script, uint32_t giveUpAt = 600000);
uint32_t now();
bool gaveUp();
const std::vector<Call>& calls();

// From now until the next reset every SDL_PumpEvents moves the clock on by
// `ms`, as the time a computation between two polls takes.
void advanceOnPump(uint32_t ms);

// Records a call of another seam (Kind::Other) under `name`.
void note(const std::string& name);

// IMG_Load of this path returns null, as for a missing file.
void makeMissing(const std::string& path);

// An in-memory 400x400 screen; blits to it are recorded, not drawn.
SDL_Surface* screen();

// Cell (x, y) to a pointer pixel in the middle of it.
int pixelOf(int cell);

// The blits of each flipped frame, in order (frames of the flip animation too).
struct Frame {
    uint32_t at;       // when it was flipped
    uint32_t drawnAt;  // when its first picture was drawn (input read just before)
    std::vector<Call> blits;
};
std::vector<Frame> frames();

// Index of the first call at or after `from` matching kind and name ("" = any).
long find(Kind kind, const std::string& name, size_t from = 0);

}  // namespace seam
