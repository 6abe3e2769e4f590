#pragma once

namespace display {

#include <string>
#include <vector>

// How the next SDL_Init and SDL_SetVideoMode answer. With `onlyDriver` given,
// SDL_Init succeeds only while SDL_VIDEODRIVER names that driver.
void answer(bool sdlInitFails, bool videoModeFails, const char* onlyDriver = nullptr);

// SDL_VIDEODRIVER at each SDL_Init since the last answer ("" when unset).
const std::vector<std::string>& driversTried();

}  // namespace display
