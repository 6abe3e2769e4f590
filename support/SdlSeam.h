#pragma once

// The one SDL seam of the unit tests (and of the screenshot tool): linked
// with -Wl,--wrap for a few of SDL's C functions, it gives the program one
// scripted input and one virtual clock, and lets it draw into a real screen
// of SDL's dummy video driver.
//
// - Clock: SDL_GetTicks reads it; only SDL_Delay (and, when asked, each
//   SDL_PumpEvents) moves it on. No test waits for real.
// - Input: a timeline of pointer, button and ESC states. SDL_GetMouseState
//   and SDL_GetKeyState read it; the events SDL would queue for it (motion,
//   buttons, keys, the window's close request, an exposure) go through the
//   program's event settings and filter into SDL's real queue at each
//   SDL_PumpEvents.
// - Pictures: IMG_Load gives solid pictures, one colour per file, so a test
//   reads what the screen shows with pictureAt.
// - Display: SDL_Init notes the driver asked for; SDL_SetVideoMode can refuse.

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace seam {

// From `at` on (until the next entry) the pointer is at (x, y), the button
// mask is `buttons` and ESC is down or not. At `at`, `keys` other keys are
// pressed and released, with `close` the window's close button is used, and
// with `expose` the window is uncovered.
struct Input {
    uint32_t at;
    int x;
    int y;
    uint8_t buttons;
    bool esc;
    int keys = 0;
    bool close = false;
    bool expose = false;
};

// A fresh start: SDL shut down, the clock at 0, nothing recorded, solid
// pictures, and `script` as the input. After the script's last entry, once
// `giveUpAt` has passed (or when the program polls endlessly without waiting),
// ESC is forced down and gaveUp() says so, so a test that goes wrong ends.
// A program still polling 10 s (or a million polls) after that ignores ESC:
// the seam says so on standard error and aborts the run.
void reset(std::vector<Input> script = {}, uint32_t giveUpAt = 600000);
// A new input timeline, its times counted from now.
void script(std::vector<Input> script, uint32_t giveUpAfter = 600000);
uint32_t now();
bool gaveUp();
// From now on every SDL_PumpEvents moves the clock on by `ms`, as the time a
// computation between two polls takes.
void advanceOnPump(uint32_t ms);

// IMG_Load of `path` (of every path when empty) fails as for a missing file.
void makeMissing(const std::string& path = "");
// IMG_Load reads the real files (the screenshot tool).
void useRealPictures();
// The next SDL_SetVideoMode fails with SDL's error set to `reason`.
void refuseVideoMode(const std::string& reason);
// SDL_VIDEODRIVER at each SDL_Init since the reset ("" when unset).
const std::vector<std::string>& driversAsked();

// The 400x400 screen; starts SDL's dummy video when nobody has yet.
SDL_Surface* screen();
// Called at every SDL_Flip, before it, with the screen.
void onFlip(std::function<void(SDL_Surface*)> watcher);
// When each SDL_Flip and each SDL_PumpEvents happened.
const std::vector<uint32_t>& flipTimes();
const std::vector<uint32_t>& pollTimes();

// The picture whose colour is at (x, y), e.g. "data/bolinha/1.png"; a digit of
// the numbers strip reads "data/game/numbers.png:<digit>"; "" where nothing
// has been drawn.
std::string pictureAt(SDL_Surface* surface, int x, int y);
// A pointer pixel in the middle of cell `cell`.
int pixelOf(int cell);

}  // namespace seam
