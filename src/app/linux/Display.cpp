// The display on Linux: X11 or Wayland through SDL 1.2, the X connection
// watched, and the signals a terminal sends.

#include "app/Program.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <strings.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "screens/Layout.h"

namespace {

constexpr int BITS_PER_PIXEL = 24;
constexpr int KEY_REPEAT_DELAY_MS = 500;
constexpr int KEY_REPEAT_INTERVAL_MS = 30;

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

// SIGINT or SIGTERM while SDL starts ends the program by that signal, as
// SIG_DFL would. SDL_Init puts a handler of its own (a quit event, which
// nothing reads yet) only where it finds SIG_DFL, and SDL 2 under the
// compatibility library does so before it opens the display: with one that
// never answers, Ctrl-C would do nothing.
void endBySignal(int number) {
    std::signal(number, SIG_DFL);
    std::raise(number);
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Where SDL will use X11, and unless the user has set them: present through
// SDL 2's software renderer, without a texture framebuffer. Otherwise the
// compatibility library over SDL 2 loads the whole OpenGL stack (some 90 MB,
// five more threads, a slower start) to show the one software surface that
// the game draws every pixel of; it takes both settings to keep it out.
// Classic SDL reads neither. Either one set by the player (such as
// SDL_FRAMEBUFFER_ACCELERATION=1) brings OpenGL back.
void preferSoftwarePresentation() {
    if (!isSet("SDL_FRAMEBUFFER_ACCELERATION")) {
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    }
    if (!isSet("SDL_RENDER_DRIVER")) {
        setenv("SDL_RENDER_DRIVER", "software", 1);
    }
}

// Whether SDL_VIDEODRIVER has SDL try X11 first. SDL 2 takes a comma-separated
// list, tried in turn (an empty name tries nothing), and both libraries match
// the names without case.
bool triesX11First(const char* drivers) {
    drivers += std::strspn(drivers, ",");
    return std::strcspn(drivers, ",") == 3 && strncasecmp(drivers, "x11", 3) == 0;
}

// A driver named in SDL_VIDEODRIVER is used as SDL would. Otherwise the
// window system's own driver, X11 first as in SDL: left to itself SDL goes on
// to a text-mode driver (libcaca, aalib) that draws into the terminal, or to
// one that draws nowhere. One SDL_Init only: after a failed one the SDL 2
// compatibility library reports success without a driver.
bool startVideo() {
    const bool named = isSet("SDL_VIDEODRIVER");
    const char* display = isSet("DISPLAY")           ? "DISPLAY"
                          : isSet("WAYLAND_DISPLAY") ? "WAYLAND_DISPLAY"
                                                     : nullptr;
    if (!named) {
        if (display == nullptr) {
            SDL_SetError("no graphical display");
            return false;
        }
        setenv("SDL_VIDEODRIVER", display[0] == 'D' ? "x11" : "wayland", 1);
    }
    if (triesX11First(std::getenv("SDL_VIDEODRIVER"))) {
        preferSoftwarePresentation();
    }
    // From before SDL opens the display, which may go while SDL starts. Xlib
    // writes to the server's socket: ignored, a broken pipe reaches Xlib as an
    // error and ends the program through displayLost, instead of killing it.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(displayLost);
    std::signal(SIGINT, endBySignal);
    std::signal(SIGTERM, endBySignal);
    if (SDL_Init(SDL_INIT_VIDEO) >= 0) {
        return true;
    }
    if (!named) {
        // A display is named but cannot be opened: which one, and SDL's reason.
        unsetenv("SDL_VIDEODRIVER");
        const std::string reason = SDL_GetError();
        SDL_SetError("no graphical display at %s=%s: %s", display, std::getenv(display),
                     reason.c_str());
    }
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
    // Ctrl-C and SIGTERM end the program as by default, never as the quit
    // events SDL would make of them, which nothing here ever reads.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    *screen = SDL_SetVideoMode(layout::WINDOW_SIZE, layout::WINDOW_SIZE, BITS_PER_PIXEL,
                               SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (*screen == nullptr) {
        // Every screen would blit to and flip a null surface; stop here the way
        // a failed start of SDL does, with SDL's own reason on standard error.
        std::printf("Argh! Can't init SDL!\n");
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return false;
    }

    // Again, should SDL have set a handler of its own while opening the display.
    XSetIOErrorHandler(displayLost);
    SDL_WM_SetCaption("vantrixo", "");
    SDL_EnableKeyRepeat(KEY_REPEAT_DELAY_MS, KEY_REPEAT_INTERVAL_MS);
    for (Uint8 type : IGNORED_EVENTS) {
        SDL_EventState(type, SDL_IGNORE);
    }
    SDL_SetEventFilter(onlyQuitRequestsAndExposures);
    return true;
}
