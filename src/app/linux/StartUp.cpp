#include "app/linux/StartUp.h"

#include <SDL_version.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

StartUp::~StartUp() {
    if (entered) {
        // Nothing to do about a failure this late; the process is ending.
        if (chdir(oldDirectory.c_str()) != 0) {
            entered = false;
        }
    }
}

bool StartUp::isRecentEnough(const SDL_version* linked, const SDL_version& needed,
                             const char* name) {
    const long wanted = SDL_VERSIONNUM(needed.major, needed.minor, needed.patch);
    if (linked != nullptr &&
        SDL_VERSIONNUM(linked->major, linked->minor, linked->patch) >= wanted) {
        return true;
    }
    std::fprintf(stderr, "Need version %.10ld of %.32s\n", wanted, name);
    return false;
}

bool StartUp::enterDirectoryOf(const char* executable) {
    char* resolved = realpath(executable, nullptr);
    if (resolved == nullptr) {
        std::fprintf(stderr, "Failed to find the program's own directory (%s).\n",
                     std::strerror(errno));
        return false;
    }
    std::string directory(resolved);
    free(resolved);
    directory.erase(directory.find_last_of('/') + 1);

    // A directory that cannot be named (deleted since, say) is simply not
    // given back at the end.
    char* current = getcwd(nullptr, 0);
    if (chdir(directory.c_str()) != 0) {
        std::fprintf(stderr, "Failed to enter '%s' (%s).\n", directory.c_str(),
                     std::strerror(errno));
        free(current);
        return false;
    }
    if (current != nullptr) {
        oldDirectory = current;
        free(current);
        entered = true;
    }
    return true;
}
