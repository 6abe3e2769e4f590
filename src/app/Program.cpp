#include "app/Program.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "rules/Difficulty.h"
#include "screens/Game.h"
#include "screens/Menu.h"
#include "screens/MenuItem.h"

namespace {

constexpr Uint32 PAUSE_BEFORE_MENU_MS = 100;

// The screens poll the key and mouse state and look only for a quit request
// or an exposure in the queue. Keys, quit requests and exposures stay enabled.
constexpr Uint8 IGNORED_EVENTS[] = {
    SDL_ACTIVEEVENT,   SDL_MOUSEMOTION,   SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
    SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,    SDL_JOYBUTTONDOWN,
    SDL_JOYBUTTONUP,   SDL_SYSWMEVENT,    SDL_VIDEORESIZE,     SDL_USEREVENT,
};

// Only quit requests and exposures are queued: nothing reads the key events,
// and a queue full of them would drop the request of the window's close button.
int onlyQuitRequestsAndExposures(const SDL_Event* event) {
    return event->type == SDL_QUIT || event->type == SDL_VIDEOEXPOSE ? 1 : 0;
}

// Xlib calls this when the connection to the X server breaks. Its own handler
// exits through the atexit list, and SDL_Quit there waits for ever for the
// dead server under SDL 1.2 over SDL 2: so one line, and out without it.
int displayLost(Display*) {
    static const char LINE[] = "vantrixo: lost the connection to the display\n";
    if (write(STDERR_FILENO, LINE, sizeof LINE - 1) < 0) {
        // Nowhere left to say it.
    }
    _exit(1);
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// A driver named in SDL_VIDEODRIVER is used as SDL would. Otherwise the
// window system's own driver, X11 first as in SDL: left to itself SDL goes on
// to a text-mode driver (libcaca, aalib) that draws into the terminal, or to
// one that draws nowhere. One SDL_Init only: after a failed one the SDL 2
// compatibility library reports success without a driver.
bool startVideo() {
    if (!isSet("SDL_VIDEODRIVER")) {
        const char* driver = isSet("DISPLAY")           ? "x11"
                             : isSet("WAYLAND_DISPLAY") ? "wayland"
                                                        : nullptr;
        if (driver == nullptr) {
            SDL_SetError("no graphical display");
            return false;
        }
        setenv("SDL_VIDEODRIVER", driver, 1);
        if (SDL_Init(SDL_INIT_VIDEO) < 0) {
            unsetenv("SDL_VIDEODRIVER");
            SDL_SetError("no graphical display");
            return false;
        }
        return true;
    }
    return SDL_Init(SDL_INIT_VIDEO) >= 0;
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

    // After SDL has opened the display and set up its own handler, if any.
    XSetIOErrorHandler(displayLost);
    SDL_WM_SetCaption("vantrixo", "");
    SDL_EnableKeyRepeat(500, 30);
    for (Uint8 type : IGNORED_EVENTS) {
        SDL_EventState(type, SDL_IGNORE);
    }
    SDL_SetEventFilter(onlyQuitRequestsAndExposures);
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
        int32_t difficulty = NORMAL;
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
