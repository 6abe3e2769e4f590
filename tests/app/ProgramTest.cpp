#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "../game/SdlSeam.h"
#include "DisplaySeam.h"
#include "app/Program.h"

using seam::Input;
using seam::Kind;

// The computer player's constructor, to see what each Game hands it.
#define CP_CTOR _ZN14ComputerPlayerC1ERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEiii
#define CAT(a, b) CAT2(a, b)
#define CAT2(a, b) a##b

namespace {
std::vector<std::tuple<int, int, int>> computers;
}

extern "C" {
void CAT(__real_, CP_CTOR)(void* self, const std::string& path, int depth, int difficulty,
                           int side);
void CAT(__wrap_, CP_CTOR)(void* self, const std::string& path, int depth, int difficulty,
                           int side) {
    computers.emplace_back(depth, difficulty, side);
    CAT(__real_, CP_CTOR)(self, path, depth, difficulty, side);
}
}

namespace {

std::vector<std::string> notes() {
    std::vector<std::string> out;
    for (const seam::Call& c : seam::calls()) {
        if (c.kind == Kind::Other) {
            out.push_back(c.name);
        }
    }
    return out;
}

long count(Kind kind, const std::string& name) {
    long n = 0;
    for (const seam::Call& c : seam::calls()) {
        n += c.kind == kind && c.name == name ? 1 : 0;
    }
    return n;
}

// The n-th (0-based) call of kind and name.
long nth(Kind kind, const std::string& name, int n) {
    long at = -1;
    for (int i = 0; i <= n; ++i) {
        at = seam::find(kind, name, static_cast<size_t>(at + 1));
        if (at < 0) {
            return -1;
        }
    }
    return at;
}

int runWith(std::vector<Input> script, bool initFails = false, bool modeFails = false) {
    seam::reset(std::move(script));
    display::answer(initFails, modeFails);
    computers.clear();
    return runProgram(0, nullptr);
}

}  // namespace

TEST(ProgramTest, DisplaySetUp) {
    seam::reset({});
    display::answer(false, false);
    SDL_Surface* screen = nullptr;
    ASSERT_TRUE(setUpDisplay(&screen));
    EXPECT_EQ(screen, seam::screen());
    const std::vector<std::string> expected = {
        "SDL_Init 32",
        "SDL_SetVideoMode 400x400x24 1073741825",
        "SDL_WM_SetCaption vantrixo|",
        "SDL_EnableKeyRepeat 500 30",
        "SDL_EventState 1 0",
        "SDL_EventState 4 0",
        "SDL_EventState 5 0",
        "SDL_EventState 6 0",
        "SDL_EventState 7 0",
        "SDL_EventState 8 0",
        "SDL_EventState 9 0",
        "SDL_EventState 10 0",
        "SDL_EventState 11 0",
        "SDL_EventState 13 0",
        "SDL_EventState 16 0",
        "SDL_EventState 24 0",
        "SDL_SetEventFilter",
    };
    EXPECT_EQ(notes(), expected);
}

TEST(ProgramTest, FailedSdlOrVideoModeEndsWithStatusOneAndNoScreenUsed) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({}, true, false), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Argh! Can't init SDL!\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "No available video device\n");
    EXPECT_EQ(notes(), std::vector<std::string>{"SDL_Init 32"});
    EXPECT_EQ(display::driversTried(), std::vector<std::string>{"dummy"});  // as named
    // The menu was built (and freed) all the same, before SDL.
    EXPECT_EQ(count(Kind::Load, "data/menu/fundo.png"), 1);
    EXPECT_EQ(count(Kind::Free, "data/menu/fundo.png"), 1);

    // No video mode: the same message, SDL's reason on standard error, and
    // nothing ever blitted to or flipped on a null screen.
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runWith({}, false, true), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Argh! Can't init SDL!\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no such mode here\n");
    EXPECT_EQ(seam::find(Kind::Flip, ""), -1);
    EXPECT_EQ(seam::find(Kind::Blit, ""), -1);
    EXPECT_EQ(seam::find(Kind::Other, "SDL_WM_SetCaption vantrixo|"), -1);
}

// With no driver named, only the window system's own is tried, and SDL is
// never left to fall back to a text-mode driver that draws into the terminal.
TEST(ProgramTest, WithoutANamedDriverOnlyTheWindowSystemsIsTried) {
    const std::string named = getenv("SDL_VIDEODRIVER");
    const char* display = getenv("DISPLAY");
    const std::string x = display != nullptr ? display : "";
    struct Case {
        const char* display;
        const char* wayland;
        bool starts;
        std::vector<std::string> tried;
    };
    const Case cases[] = {
        {":5", "wayland-0", true, {"x11"}},
        {"", "wayland-0", true, {"wayland"}},
        {":5", nullptr, false, {"x11"}},
        {nullptr, "", false, {}},
        {nullptr, "wayland-0", false, {"wayland"}},
    };
    for (const Case& c : cases) {
        c.display != nullptr ? setenv("DISPLAY", c.display, 1) : unsetenv("DISPLAY");
        c.wayland != nullptr ? setenv("WAYLAND_DISPLAY", c.wayland, 1)
                             : unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "", 1);  // names nothing
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runWith({{0, 10, 10, 0, true}}, !c.starts, false), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  c.starts ? "" : "Argh! Can't init SDL!\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.starts ? "" : "no graphical display\n");
        EXPECT_EQ(display::driversTried(), c.tried);
        EXPECT_EQ(seam::find(Kind::Flip, "") != -1, c.starts);
        if (!c.starts) {  // the guess is not left behind
            EXPECT_TRUE(getenv("SDL_VIDEODRIVER") == nullptr || !*getenv("SDL_VIDEODRIVER"));
        }
    }
    setenv("SDL_VIDEODRIVER", named.c_str(), 1);
    display != nullptr ? setenv("DISPLAY", x.c_str(), 1) : unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

TEST(ProgramTest, ExitAtTheFirstMenuBuildsNoGame) {
    EXPECT_EQ(runWith({{0, 10, 10, 0, true}}), 1);
    EXPECT_EQ(count(Kind::Load, "data/game/tabuleiro.png"), 0);
    EXPECT_EQ(count(Kind::Load, "data/game/redturn.png"), 0);
    // The menu's pictures load before SDL starts.
    EXPECT_LT(seam::find(Kind::Load, "data/menu/fundo.png"),
              seam::find(Kind::Other, "SDL_Init 32"));
    EXPECT_NE(seam::find(Kind::Flip, ""), -1);  // the menu was shown
}

TEST(ProgramTest, SettingsReachEachGameAndAGameLivesUntilTheNextMenuReturns) {
    const std::vector<Input> script = {
        {0, 262, 259, 1, false},  // difficulty up: normal -> hard
        {60, 262, 259, 0, false},
        {300, 195, 293, 1, false},  // depth down: 5 -> 3
        {360, 195, 293, 0, false},
        {600, 200, 182, 1, false},  // person plays red
        {660, 200, 182, 0, false},
        {1500, 10, 10, 0, true},  // a short ESC: back to the menu
        {1530, 10, 10, 0, false},
        {2500, 200, 204, 1, false},  // person plays green; only the mode chosen
        {2560, 10, 10, 0, false},
        {4000, 10, 10, 0, true},  // ESC held: the game ends, then the menu
    };
    EXPECT_EQ(runWith(script), 1);
    EXPECT_FALSE(seam::gaveUp());
    ASSERT_EQ(computers.size(), 2u);
    EXPECT_EQ(computers[0], std::make_tuple(3, 2, 2));  // depth 3, hard, green
    EXPECT_EQ(computers[1], std::make_tuple(3, 2, 1));  // the same, for red

    const std::string own = "data/game/redturn.png";
    ASSERT_EQ(count(Kind::Load, own), 2);
    ASSERT_EQ(count(Kind::Free, own), 2);
    // The first game's pictures stay loaded through the 100 ms pause and the
    // whole next menu, up to the choice that starts the second game.
    const long firstFreed = nth(Kind::Free, own, 0);
    const long secondLoaded = nth(Kind::Load, own, 1);
    const long lastMenuPicture = seam::find(Kind::Blit, "data/menu/sgreen.png");
    ASSERT_NE(lastMenuPicture, -1);
    EXPECT_GT(firstFreed, lastMenuPicture);
    EXPECT_LT(firstFreed, secondLoaded);
    long pause = -1;
    for (size_t i = 0; i < static_cast<size_t>(firstFreed); ++i) {
        const seam::Call& c = seam::calls()[i];
        if (c.kind == Kind::Delay && c.ms == 100 && i > 0 &&
            seam::calls()[i - 1].kind == Kind::Delay && seam::calls()[i - 1].ms == 50) {
            pause = static_cast<long>(i);
        }
    }
    EXPECT_NE(pause, -1) << "the game's 50 ms end and the 100 ms pause";
    EXPECT_LT(pause, lastMenuPicture);
    // At the end the second game goes before the menu.
    EXPECT_LT(nth(Kind::Free, own, 1), seam::find(Kind::Free, "data/menu/fundo.png"));
}
