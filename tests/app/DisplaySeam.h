#pragma once

namespace display {

// How the next SDL_Init and SDL_SetVideoMode answer.
void answer(bool sdlInitFails, bool videoModeFails);

}  // namespace display
