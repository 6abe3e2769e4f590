// Preloaded in front of SDL and SDL_image, it reports the library named in
// VANTRIXO_OLD as version 1.2.0 and the other as the one built against, so a
// test can see how the program starts with a library that is too old. With
// VANTRIXO_OLD=directory it refuses to enter any directory instead, as for a
// program directory without search permission.

#include <SDL.h>
#include <SDL_image.h>
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool named(const char* name) {
    const char* old = std::getenv("VANTRIXO_OLD");
    return old != nullptr && std::strcmp(old, name) == 0;
}

const SDL_version* answer(const char* name, SDL_version built) {
    static SDL_version version;
    version = named(name) ? SDL_version{1, 2, 0} : built;
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

int chdir(const char* path) {
    if (named("directory")) {
        errno = EACCES;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(const char*)>(dlsym(RTLD_NEXT, "chdir"));
    return real(path);
}

}  // extern "C"
