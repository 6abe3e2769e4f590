#pragma once

namespace display {

#include <SDL.h>

#include <string>
#include <vector>

// How the next SDL_Init and SDL_SetVideoMode answer.
void answer(bool sdlInitFails, bool videoModeFails);

// SDL_VIDEODRIVER at each SDL_Init since the last answer ("" when unset).
const std::vector<std::string>& driversTried();

}  // namespace display
