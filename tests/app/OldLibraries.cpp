// Preloaded in front of SDL and SDL_image, it reports the library named in
// VANTRIXO_OLD as version 1.2.0 and the other as the one built against, so a
// test can see how the program starts with a library that is too old.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>

namespace {

const SDL_version* answer(const char* name, SDL_version built) {
    static SDL_version version;
    const char* old = std::getenv("VANTRIXO_OLD");
    version = old != nullptr && std::strcmp(old, name) == 0 ? SDL_version{1, 2, 0} : built;
    return &version;
}

}  // namespace

extern "C" {

const SDL_version* SDL_Linked_Version() {
    SDL_version built;
    SDL_VERSION(&built);
    return answer("SDL", built);
}

const SDL_version* IMG_Linked_Version() {
    SDL_version built;
    SDL_IMAGE_VERSION(&built);
    return answer("SDL_image", built);
}

}  // extern "C"
