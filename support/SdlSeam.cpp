#include "SdlSeam.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "screens/Layout.h"

extern "C" {
int __real_SDL_Init(Uint32 flags);
SDL_Surface* __real_SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags);
int __real_SDL_Flip(SDL_Surface* screen);
SDL_Surface* __real_IMG_Load(const char* file);
}

namespace seam {
namespace {

constexpr uint32_t ENDLESS_POLLS = 1000000;
// After ESC has been forced down, the program has this long (in its clock,
// and in polls and reads) to stop; one that goes on ignores ESC and would
// poll, and record its polls, until the machine runs out of memory.
constexpr uint32_t GRACE_MS = 10000;
constexpr uint32_t GRACE_CALLS = 1000000;

struct State {
    std::vector<Input> script;
    uint32_t giveUpAt = 0;
    uint32_t clock = 0;
    uint32_t pumpMs = 0;
    bool gaveUp = false;
    uint32_t gaveUpClock = 0;
    uint32_t callsSinceGiveUp = 0;
    uint32_t lastReadAt = 0;
    uint32_t readsWithoutWait = 0;
    size_t delivered = 0;
    Input last{0, 0, 0, 0, false};
    Uint8 keys[SDLK_LAST] = {};
    bool realPictures = false;
    bool allMissing = false;
    std::set<std::string> missing;
    std::string refusal;
    std::vector<std::string> drivers;
    std::function<void(SDL_Surface*)> watcher;
    std::vector<uint32_t> flips;
    std::vector<uint32_t> polls;
};

State& state() {
    static State s;
    return s;
}

// One colour per picture (and per digit of the strip), kept for the whole run.
std::map<Uint32, std::string>& names() {
    static std::map<Uint32, std::string> n;
    return n;
}

Uint32 colourOf(const std::string& name) {
    for (const auto& [colour, known] : names()) {
        if (known == name) {
            return colour;
        }
    }
    const Uint32 id = static_cast<Uint32>(names().size()) + 1;
    const Uint32 colour = 0x400000u | (id << 8) | ((id * 37u) & 0xffu);
    names()[colour] = name;
    return colour;
}

// At every poll and read: gives up once the script is over and giveUpAt has
// passed, or when the program polls endlessly without waiting; ends the run
// when the program has not stopped well after that.
void watch() {
    State& s = state();
    // A loop that never waits would never reach giveUpAt either.
    s.readsWithoutWait = s.clock == s.lastReadAt ? s.readsWithoutWait + 1 : 0;
    s.lastReadAt = s.clock;
    if (!s.gaveUp &&
        ((s.clock >= s.giveUpAt && (s.script.empty() || s.clock > s.script.back().at)) ||
         s.readsWithoutWait > ENDLESS_POLLS)) {
        s.gaveUp = true;
        s.gaveUpClock = s.clock;
        s.callsSinceGiveUp = 0;
    }
    if (s.gaveUp && (++s.callsSinceGiveUp > GRACE_CALLS || s.clock - s.gaveUpClock > GRACE_MS)) {
        std::fprintf(stderr,
                     "SDL seam: ESC has been forced down since %u ms (the script was over, or "
                     "the program polled without waiting), yet the program still polls at %u ms "
                     "(%u polls and reads later): it does not stop on ESC.\n",
                     s.gaveUpClock, s.clock, s.callsSinceGiveUp);
        std::abort();
    }
}

Input current() {
    State& s = state();
    Input in{0, 0, 0, 0, false};
    for (const Input& step : s.script) {
        if (step.at <= s.clock) {
            in = step;
        }
    }
    watch();
    in.esc = in.esc || s.gaveUp;
    return in;
}

// As SDL posts an event: only when its type is enabled and the filter keeps it.
void post(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_EventState(type, SDL_QUERY) != SDL_ENABLE) {
        return;
    }
    SDL_Event event = {};
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
    }
    const SDL_EventFilter filter = SDL_GetEventFilter();
    if (filter == nullptr || filter(&event) != 0) {
        SDL_PushEvent(&event);
    }
}

// The events of the script entries reached since the last pump.
void deliver() {
    State& s = state();
    while (s.delivered < s.script.size() && s.script[s.delivered].at <= s.clock) {
        const Input& in = s.script[s.delivered++];
        if (in.x != s.last.x || in.y != s.last.y) {
            post(SDL_MOUSEMOTION);
        }
        if (in.buttons != s.last.buttons) {
            post(in.buttons > s.last.buttons ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
        }
        if (in.esc != s.last.esc) {
            post(in.esc ? SDL_KEYDOWN : SDL_KEYUP, SDLK_ESCAPE);
        }
        for (int k = 0; k < in.keys; ++k) {
            post(SDL_KEYDOWN, SDLK_a);
            post(SDL_KEYUP, SDLK_a);
        }
        if (in.close) {
            post(SDL_QUIT);
        }
        if (in.expose) {
            post(SDL_VIDEOEXPOSE);
        }
        s.last = in;
    }
}

SDL_Surface* solid(int w, int h, const std::string& name) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000u, 0xff00u, 0xffu, 0);
    if (s == nullptr) {
        return nullptr;
    }
    if (name == "data/game/numbers.png") {
        // Digit d's slot of the strip in a colour of its own.
        for (int d = 0; d < 10; ++d) {
            SDL_Rect slot = {static_cast<Sint16>(layout::DIGIT_SLOT * d), 0,
                             static_cast<Uint16>(layout::DIGIT_SLOT), static_cast<Uint16>(h)};
            SDL_FillRect(s, &slot, colourOf(name + ":" + std::to_string(d)));
        }
    } else {
        SDL_FillRect(s, nullptr, colourOf(name));
    }
    return s;
}

}  // namespace

void reset(std::vector<Input> inputs, uint32_t giveUpAt) {
    SDL_Quit();
    State& s = state();
    s.clock = 0;
    s.pumpMs = 0;
    s.realPictures = false;
    s.allMissing = false;
    s.missing.clear();
    s.refusal.clear();
    s.drivers.clear();
    s.watcher = nullptr;
    s.flips.clear();
    s.polls.clear();
    script(std::move(inputs), giveUpAt);
}

void script(std::vector<Input> inputs, uint32_t giveUpAfter) {
    State& s = state();
    for (Input& in : inputs) {
        in.at += s.clock;
    }
    s.script = std::move(inputs);
    s.giveUpAt = s.clock + giveUpAfter;
    s.gaveUp = false;
    s.readsWithoutWait = 0;
    s.delivered = 0;
    s.last = Input{0, 0, 0, 0, false};
}

uint32_t now() {
    return state().clock;
}

bool gaveUp() {
    return state().gaveUp;
}

void advanceOnPump(uint32_t ms) {
    state().pumpMs = ms;
}

void makeMissing(const std::string& path) {
    if (path.empty()) {
        state().allMissing = true;
    } else {
        state().missing.insert(path);
    }
}

void useRealPictures() {
    state().realPictures = true;
}

void refuseVideoMode(const std::string& reason) {
    state().refusal = reason;
}

const std::vector<std::string>& driversAsked() {
    return state().drivers;
}

SDL_Surface* screen() {
    if (SDL_GetVideoSurface() == nullptr) {
        if (__real_SDL_Init(SDL_INIT_VIDEO) < 0) {
            return nullptr;
        }
        __real_SDL_SetVideoMode(layout::WINDOW_SIZE, layout::WINDOW_SIZE, 32, SDL_SWSURFACE);
    }
    return SDL_GetVideoSurface();
}

void onFlip(std::function<void(SDL_Surface*)> watcher) {
    state().watcher = std::move(watcher);
}

const std::vector<uint32_t>& flipTimes() {
    return state().flips;
}

const std::vector<uint32_t>& pollTimes() {
    return state().polls;
}

std::string pictureAt(SDL_Surface* surface, int x, int y) {
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) {
        return "";
    }
    SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 pixel = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        pixel = (pixel << 8) | p[i];  // little-endian, as on every target here
    }
    SDL_UnlockSurface(surface);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    const Uint32 colour = (Uint32{r} << 16) | (Uint32{g} << 8) | b;
    if (colour == 0) {
        return "";
    }
    const auto found = names().find(colour);
    return found == names().end() ? "?" : found->second;
}

int pixelOf(int cell) {
    return layout::CELL_PITCH * (cell + 1) + layout::CELL_PITCH / 2;
}

}  // namespace seam

extern "C" {

void __wrap_SDL_PumpEvents(void) {
    seam::State& s = seam::state();
    s.clock += s.pumpMs;
    s.polls.push_back(s.clock);
    seam::watch();
    seam::deliver();
}

Uint8* __wrap_SDL_GetKeyState(int* numkeys) {
    seam::State& s = seam::state();
    s.keys[SDLK_ESCAPE] = seam::current().esc ? 1 : 0;
    if (numkeys != nullptr) {
        *numkeys = SDLK_LAST;
    }
    return s.keys;
}

Uint8 __wrap_SDL_GetMouseState(int* x, int* y) {
    const seam::Input in = seam::current();
    if (x != nullptr) {
        *x = in.x;
    }
    if (y != nullptr) {
        *y = in.y;
    }
    return in.buttons;
}

void __wrap_SDL_Delay(Uint32 ms) {
    seam::state().clock += ms;
}

Uint32 __wrap_SDL_GetTicks(void) {
    return seam::state().clock;
}

int __wrap_SDL_Flip(SDL_Surface* screen) {
    seam::State& s = seam::state();
    s.flips.push_back(s.clock);
    if (s.watcher) {
        s.watcher(screen);
    }
    return __real_SDL_Flip(screen);
}

SDL_Surface* __wrap_IMG_Load(const char* file) {
    seam::State& s = seam::state();
    const std::string path = file != nullptr ? file : "";
    if (s.realPictures) {
        return __real_IMG_Load(file);
    }
    if (s.allMissing || s.missing.count(path) != 0) {
        return nullptr;
    }
    int w = 24;
    int h = 12;
    if (path == "data/game/tabuleiro.png" || path == "data/menu/fundo.png") {
        w = h = layout::WINDOW_SIZE;
    } else if (path.rfind("data/bolinha/", 0) == 0 || path == "data/game/botaoreversiazul.png") {
        w = h = 38;
    } else if (path == "data/game/numbers.png") {
        w = 10 * layout::DIGIT_SLOT;
        h = layout::GLYPH_HEIGHT;
    }
    return seam::solid(w, h, path);
}

int __wrap_SDL_Init(Uint32 flags) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    seam::state().drivers.emplace_back(driver != nullptr ? driver : "");
    return __real_SDL_Init(flags);
}

SDL_Surface* __wrap_SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    seam::State& s = seam::state();
    if (!s.refusal.empty()) {
        SDL_SetError("%s", s.refusal.c_str());
        s.refusal.clear();
        return nullptr;
    }
    return __real_SDL_SetVideoMode(width, height, bpp, flags);
}

}  // extern "C"
