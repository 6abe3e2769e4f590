#include "app/Program.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "screens/Game.h"
#include "screens/Menu.h"

namespace {

constexpr int32_t EXIT_ITEM = 4;
constexpr Uint32 PAUSE_BEFORE_MENU_MS = 100;

// The screens poll the key and mouse state and read only quit requests from
// the queue. Keys and quit requests stay enabled.
constexpr Uint8 IGNORED_EVENTS[] = {
    SDL_ACTIVEEVENT,   SDL_MOUSEMOTION,  SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_JOYAXISMOTION,
    SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN,   SDL_JOYBUTTONUP,   SDL_SYSWMEVENT,
    SDL_VIDEORESIZE,   SDL_VIDEOEXPOSE,  SDL_USEREVENT,
};

// Tried in turn, in SDL's own order, when the user names no driver: left to
// itself SDL goes on from these to a text-mode driver (libcaca, aalib) that
// draws into the terminal, or nowhere when there is none.
constexpr const char* GRAPHICAL_DRIVERS[] = {"x11", "wayland", "kmsdrm", "fbcon", "directfb"};

bool startVideo() {
    const char* named = std::getenv("SDL_VIDEODRIVER");
    if (named != nullptr && named[0] != '\0') {
        return SDL_Init(SDL_INIT_VIDEO) >= 0;
    }
    for (const char* driver : GRAPHICAL_DRIVERS) {
        setenv("SDL_VIDEODRIVER", driver, 1);
        if (SDL_Init(SDL_INIT_VIDEO) >= 0) {
            return true;
        }
    }
    unsetenv("SDL_VIDEODRIVER");
    SDL_SetError("no graphical display");
    return false;
}

}  // namespace

bool setUpDisplay(SDL_Surface** screen) {
    if (!startVideo()) {
        std::printf("Argh! Can't init SDL!\n");
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return false;
    }
    std::atexit(SDL_Quit);
    // SDL turns Ctrl-C and SIGTERM into quit events, which nothing here ever
    // reads: without this the program could only be killed outright.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    *screen = SDL_SetVideoMode(400, 400, 24, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (*screen == nullptr) {
        // Every screen would blit to and flip a null surface; stop here the way
        // a failed start of SDL does, with SDL's own reason on standard error.
        std::printf("Argh! Can't init SDL!\n");
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return false;
    }

    SDL_WM_SetCaption("vantrixo", "");
    SDL_EnableKeyRepeat(500, 30);
    for (Uint8 type : IGNORED_EVENTS) {
        SDL_EventState(type, SDL_IGNORE);
    }
    return true;
}

int32_t runProgram(int argc, char** argv) {
    (void)argc;
    (void)argv;

    // The menu's pictures load before SDL starts; it keeps its difficulty and
    // depth from one game to the next.
    Menu menu;
    SDL_Surface* screen = nullptr;
    if (setUpDisplay(&screen)) {
        int32_t depth = 5;
        int32_t difficulty = 1;
        int32_t choice = menu.run(screen, depth, difficulty);
        while (choice != EXIT_ITEM) {
            // Each game lives on while the next menu is shown and goes only
            // once that menu has returned.
            Game game(choice, depth, difficulty);
            game.run(screen);
            SDL_Delay(PAUSE_BEFORE_MENU_MS);
            choice = menu.run(screen, depth, difficulty);
        }
    }
    return 1;
}
