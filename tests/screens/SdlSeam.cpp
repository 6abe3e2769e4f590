#include "SdlSeam.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr int SCREEN_SIZE = 400;
constexpr size_t SCRIPT_SLACK = 200;

struct State {
    std::vector<seam::Input> inputs;
    size_t polls = 0;
    bool overran = false;
    bool missing = false;
    std::vector<seam::Event> events;
    std::vector<seam::Pixels> flips;
    std::vector<std::string> loads;
    Uint8 keys[SDLK_LAST] = {};
};

State& state() {
    static State s;
    return s;
}

// Colour per picture path; kept across tests so a colour always means one file.
std::map<std::string, Uint32>& colours() {
    static std::map<std::string, Uint32> c;
    return c;
}

Uint32 colourFor(const std::string& path) {
    auto& c = colours();
    auto found = c.find(path);
    if (found != c.end()) {
        return found->second;
    }
    const Uint32 id = static_cast<Uint32>(c.size()) + 1;
    const Uint32 colour = 0x400000u | (id << 8) | ((id * 37u) & 0xffu);
    c.emplace(path, colour);
    return colour;
}

void sizeFor(const std::string& path, int& w, int& h) {
    if (path == "data/game/tabuleiro.png" || path == "data/menu/fundo.png") {
        w = h = SCREEN_SIZE;
    } else if (path.rfind("data/bolinha/", 0) == 0) {
        w = h = 38;
    } else {
        w = 24;
        h = 12;
    }
}

SDL_Surface* solid(int w, int h, Uint32 colour) {
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000u, 0x00ff00u, 0x0000ffu, 0);
    if (s != nullptr) {
        SDL_FillRect(s, nullptr, colour);
    }
    return s;
}

const seam::Input& current() {
    State& s = state();
    static const seam::Input idle;
    if (s.inputs.empty() || s.polls == 0) {
        return idle;
    }
    return s.inputs[std::min(s.polls, s.inputs.size()) - 1];
}

}  // namespace

extern "C" {

void __wrap_SDL_PumpEvents() {
    State& s = state();
    ++s.polls;
    if (s.polls > s.inputs.size() + SCRIPT_SLACK) {
        s.overran = true;
    }
    s.keys[SDLK_ESCAPE] = (current().esc || s.overran) ? 1 : 0;
    s.events.push_back({seam::Kind::Pump, static_cast<uint32_t>(s.polls)});
}

Uint8* __wrap_SDL_GetKeyState(int* numkeys) {
    if (numkeys != nullptr) {
        *numkeys = SDLK_LAST;
    }
    return state().keys;
}

Uint8 __wrap_SDL_GetMouseState(int* x, int* y) {
    const seam::Input& in = current();
    if (x != nullptr) {
        *x = in.x;
    }
    if (y != nullptr) {
        *y = in.y;
    }
    return in.button ? SDL_BUTTON(1) : 0;
}

void __wrap_SDL_Delay(Uint32 ms) {
    state().events.push_back({seam::Kind::Delay, ms});
}

int __wrap_SDL_Flip(SDL_Surface* screen) {
    State& s = state();
    s.flips.push_back(seam::grab(screen));
    s.events.push_back({seam::Kind::Flip, static_cast<uint32_t>(s.flips.size() - 1)});
    return 0;
}

SDL_Surface* __wrap_IMG_Load(const char* file) {
    State& s = state();
    const std::string path = file != nullptr ? file : "";
    s.loads.push_back(path);
    if (s.missing) {
        return nullptr;
    }
    int w = 0;
    int h = 0;
    sizeFor(path, w, h);
    return solid(w, h, colourFor(path));
}

}  // extern "C"

namespace seam {

void reset() {
    State& s = state();
    s.inputs.clear();
    s.polls = 0;
    s.overran = false;
    s.missing = false;
    s.events.clear();
    s.flips.clear();
    s.loads.clear();
    std::memset(s.keys, 0, sizeof s.keys);
}

void script(const std::vector<Input>& inputs) {
    state().inputs = inputs;
    state().polls = 0;
}

bool overran() {
    return state().overran;
}
void setPicturesMissing(bool missing) {
    state().missing = missing;
}
const std::vector<Event>& events() {
    return state().events;
}
const std::vector<Pixels>& flips() {
    return state().flips;
}
const std::vector<std::string>& loads() {
    return state().loads;
}

uint32_t totalDelay() {
    uint32_t total = 0;
    for (const Event& e : state().events) {
        if (e.kind == Kind::Delay) {
            total += e.value;
        }
    }
    return total;
}

int flipCount() {
    return static_cast<int>(state().flips.size());
}

SDL_Surface* makeScreen() {
    return solid(SCREEN_SIZE, SCREEN_SIZE, 0);
}

Pixels grab(SDL_Surface* screen) {
    Pixels out(SCREEN_SIZE * SCREEN_SIZE, 0);
    if (screen == nullptr || screen->format->BytesPerPixel != 4) {
        return out;
    }
    const int w = std::min(static_cast<int>(screen->w), SCREEN_SIZE);
    const int h = std::min(static_cast<int>(screen->h), SCREEN_SIZE);
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
        std::memcpy(&out[static_cast<size_t>(y) * SCREEN_SIZE], row, w * sizeof(Uint32));
    }
    return out;
}

std::string pictureAt(const Pixels& pixels, int x, int y) {
    const Uint32 colour = pixels.at(static_cast<size_t>(y) * SCREEN_SIZE + x) & 0xffffffu;
    if (colour == 0) {
        return "";
    }
    for (const auto& [path, c] : colours()) {
        if (c == colour) {
            return path.substr(path.find('/') + 1);
        }
    }
    return "?";
}

}  // namespace seam
