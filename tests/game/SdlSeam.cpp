#include "SdlSeam.h"

#include <SDL_image.h>
#include <time.h>

#include <map>
#include <set>

extern "C" {
void __real_SDL_FreeSurface(SDL_Surface* surface);
}

namespace seam {
namespace {

struct State {
    std::vector<Input> script;
    uint32_t giveUpAt = 0;
    uint32_t clock = 0;
    uint32_t pumpMs = 0;
    bool gaveUp = false;
    uint32_t lastReadAt = 0;
    uint32_t readsWithoutWait = 0;
    std::vector<Call> calls;
    std::map<SDL_Surface*, std::string> names;
    std::set<std::string> missing;
    Uint8 keys[SDLK_LAST] = {};
    SDL_Surface* screen = nullptr;
};

State& state() {
    static State s;
    return s;
}

Input current() {
    State& s = state();
    Input in{0, 0, 0, 0, false};
    for (const Input& step : s.script) {
        if (step.at <= s.clock) {
            in = step;
        }
    }
    // A loop that never waits would never reach giveUpAt either.
    s.readsWithoutWait = s.clock == s.lastReadAt ? s.readsWithoutWait + 1 : 0;
    s.lastReadAt = s.clock;
    if ((s.clock >= s.giveUpAt && (s.script.empty() || s.clock > s.script.back().at)) ||
        s.readsWithoutWait > 1000000) {
        s.gaveUp = true;
        in.esc = true;
    }
    return in;
}

std::string nameOf(SDL_Surface* surface) {
    if (surface == nullptr) {
        return "(null)";
    }
    auto it = state().names.find(surface);
    return it == state().names.end() ? "(unnamed)" : it->second;
}

void record(Kind kind, uint32_t ms, const std::string& name) {
    Call c{};
    c.kind = kind;
    c.at = state().clock;
    c.ms = ms;
    c.name = name;
    state().calls.push_back(c);
}

}  // namespace

void reset(std::vector<Input> script, uint32_t giveUpAt) {
    State& s = state();
    s.script = std::move(script);
    s.giveUpAt = giveUpAt;
    s.clock = 0;
    s.pumpMs = 0;
    s.gaveUp = false;
    s.readsWithoutWait = 0;
    s.calls.clear();
    s.missing.clear();
}

uint32_t now() {
    return state().clock;
}

bool gaveUp() {
    return state().gaveUp;
}

const std::vector<Call>& calls() {
    return state().calls;
}

void advanceOnPump(uint32_t ms) {
    state().pumpMs = ms;
}

void note(const std::string& name) {
    record(Kind::Other, 0, name);
}

void makeMissing(const std::string& path) {
    state().missing.insert(path);
}

SDL_Surface* screen() {
    State& s = state();
    if (s.screen == nullptr) {
        s.screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 24, 0xff0000, 0xff00, 0xff, 0);
    }
    return s.screen;
}

int pixelOf(int cell) {
    return 40 * cell + 60;
}

std::vector<Frame> frames() {
    std::vector<Frame> out;
    std::vector<Call> pending;
    for (const Call& c : calls()) {
        if (c.kind == Kind::Blit) {
            pending.push_back(c);
        } else if (c.kind == Kind::Flip) {
            out.push_back(Frame{c.at, pending.empty() ? c.at : pending.front().at, pending});
            pending.clear();
        }
    }
    return out;
}

long find(Kind kind, const std::string& name, size_t from) {
    const std::vector<Call>& all = calls();
    for (size_t i = from; i < all.size(); ++i) {
        if (all[i].kind == kind && (name.empty() || all[i].name == name)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

}  // namespace seam

using seam::Kind;

extern "C" {

void __wrap_SDL_PumpEvents(void) {
    seam::state().clock += seam::state().pumpMs;
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
    seam::record(Kind::Delay, ms, "");
    seam::state().clock += ms;
}

Uint32 __wrap_SDL_GetTicks(void) {
    return seam::state().clock;
}

int __wrap_nanosleep(const struct timespec* request, struct timespec* remaining) {
    const uint32_t ms = static_cast<uint32_t>(request->tv_sec * 1000 + request->tv_nsec / 1000000);
    seam::record(Kind::Pace, ms, "");
    seam::state().clock += ms;
    if (remaining != nullptr) {
        remaining->tv_sec = 0;
        remaining->tv_nsec = 0;
    }
    return 0;
}

int __wrap_SDL_Flip(SDL_Surface*) {
    seam::record(Kind::Flip, 0, "");
    return 0;
}

int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface*, SDL_Rect* dstrect) {
    seam::Call c{};
    c.kind = Kind::Blit;
    c.at = seam::state().clock;
    c.name = seam::nameOf(src);
    c.clipped = srcrect != nullptr;
    if (srcrect != nullptr) {
        c.source = *srcrect;
    }
    c.x = dstrect != nullptr ? dstrect->x : 0;
    c.y = dstrect != nullptr ? dstrect->y : 0;
    seam::state().calls.push_back(c);
    return src == nullptr ? -1 : 0;
}

SDL_Surface* __wrap_IMG_Load(const char* file) {
    seam::State& s = seam::state();
    seam::record(Kind::Load, 0, file);
    if (s.missing.count(file) != 0) {
        return nullptr;
    }
    // A small stand-in: the tests look at what is drawn where, not at pixels.
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, 0, 0, 0, 0);
    s.names[picture] = file;
    return picture;
}

void __wrap_SDL_FreeSurface(SDL_Surface* surface) {
    seam::State& s = seam::state();
    auto it = s.names.find(surface);
    if (it != s.names.end()) {
        seam::record(Kind::Free, 0, it->second);
        s.names.erase(it);
    }
    __real_SDL_FreeSurface(surface);
}

}  // extern "C"
