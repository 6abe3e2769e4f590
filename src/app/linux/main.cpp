// Start-up around the program: library versions, the program's own directory
// as the current one, and that directory given back at the very end.

#include <SDL.h>
#include <SDL_image.h>

#include "app/Program.h"
#include "app/linux/StartUp.h"

namespace {
constexpr int START_UP_FAILED = 20;
}

int main(int argc, char** argv) {
    // Static so that its destructor, which restores the old directory, runs
    // after SDL_Quit: setUpDisplay registers that with atexit later, and exit
    // handlers and static destructors run in the reverse order of their setup.
    static StartUp startUp;

    SDL_version builtSdl;
    SDL_VERSION(&builtSdl);
    if (!StartUp::isRecentEnough(SDL_Linked_Version(), builtSdl, "SDL")) {
        return START_UP_FAILED;
    }
    if (!startUp.enterDirectoryOf("/proc/self/exe")) {
        return START_UP_FAILED;
    }
    SDL_version builtImage;
    SDL_IMAGE_VERSION(&builtImage);
    if (!StartUp::isRecentEnough(IMG_Linked_Version(), builtImage, "SDL_image")) {
        return START_UP_FAILED;
    }

    return runProgram(argc, argv);
}
