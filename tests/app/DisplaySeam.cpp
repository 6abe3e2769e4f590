// The display calls of the program, on top of the screens' seam: SDL_Init and
// SDL_SetVideoMode answer as a test asks, and the window and event settings
// are noted.

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "../game/SdlSeam.h"
#include "DisplaySeam.h"

namespace display {
namespace {
bool initFails = false;
bool modeFails = false;
std::vector<std::string> drivers;
}  // namespace

void answer(bool sdlInitFails, bool videoModeFails) {
    initFails = sdlInitFails;
    modeFails = videoModeFails;
    drivers.clear();
}

const std::vector<std::string>& driversTried() {
    return drivers;
}

}  // namespace display

extern "C" {

int __wrap_SDL_Init(Uint32 flags) {
    seam::note("SDL_Init " + std::to_string(flags));
    const char* driver = getenv("SDL_VIDEODRIVER");
    display::drivers.emplace_back(driver != nullptr ? driver : "");
    if (display::initFails) {
        SDL_SetError("No available video device");
        return -1;
    }
    return 0;
}

SDL_Surface* __wrap_SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    seam::note("SDL_SetVideoMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
               std::to_string(bpp) + " " + std::to_string(flags));
    if (display::modeFails) {
        SDL_SetError("no such mode here");
        return nullptr;
    }
    return seam::screen();
}

void __wrap_SDL_WM_SetCaption(const char* title, const char* icon) {
    seam::note(std::string("SDL_WM_SetCaption ") + (title ? title : "(null)") + "|" +
               (icon ? icon : "(null)"));
}

int __wrap_SDL_EnableKeyRepeat(int delay, int interval) {
    seam::note("SDL_EnableKeyRepeat " + std::to_string(delay) + " " + std::to_string(interval));
    return 0;
}

void __wrap_SDL_SetEventFilter(SDL_EventFilter) {
    seam::note("SDL_SetEventFilter");
}

Uint8 __wrap_SDL_EventState(Uint8 type, int state) {
    seam::note("SDL_EventState " + std::to_string(type) + " " + std::to_string(state));
    return 0;
}

}  // extern "C"
