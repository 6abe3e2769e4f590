#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ai/ComputerPlayer.h"
#include "app/Program.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "screens/Game.h"
#include "screens/Layout.h"
#include "support/SdlSeam.h"

using seam::Input;

namespace {

using Cells = std::map<std::pair<int, int>, std::string>;

// A frame of the program: the menu's or a game's, and a game's discs.
struct Shown {
    uint32_t at;
    bool menu;
    Cells discs;
};

Shown read(SDL_Surface* screen) {
    Shown s{seam::now(), seam::pictureAt(screen, 0, 0) == "data/menu/fundo.png", {}};
    for (int x = 0; x < 8 && !s.menu; ++x) {
        for (int y = 0; y < 8; ++y) {
            const std::string picture =
                seam::pictureAt(screen, layout::DISC_ORIGIN + layout::CELL_PITCH * x,
                                layout::DISC_ORIGIN + layout::CELL_PITCH * y);
            if (picture.rfind("data/bolinha/", 0) == 0) {
                s.discs[{x, y}] = picture;
            }
        }
    }
    return s;
}

std::vector<Shown> frames;

int runWith(std::vector<Input> script) {
    seam::reset(std::move(script));
    frames.clear();
    seam::onFlip([](SDL_Surface* screen) { frames.push_back(read(screen)); });
    return runProgram(0, nullptr);
}

// Environment variables set for one block and given back after it.
class Environment {
  public:
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old != nullptr ? std::make_pair(true, std::string(old))
                                                : std::make_pair(false, std::string()));
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~Environment() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            it->second.first ? setenv(it->first.c_str(), it->second.second.c_str(), 1)
                             : unsetenv(it->first.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved;
};

}  // namespace

TEST(ProgramTest, TheCloseButtonEndsAGameAndTheProgramAfterManyKeysAndMoves) {
    // Two players; in the game the window is uncovered, then 130 key presses
    // and 200 pointer moves, more than SDL's queue holds, then the close button.
    std::vector<Input> script = {{0, 200, 160, 1, false},
                                 {60, 10, 10, 0, false},
                                 {300, 10, 10, 0, false, 0, false, true},
                                 {500, 10, 10, 0, false, 130}};
    for (int i = 0; i < 200; ++i) {
        script.push_back({600 + static_cast<uint32_t>(i), 10 + i, 10, 0, false});
    }
    script.push_back({1000, 10, 10, 0, false, 0, true});
    EXPECT_EQ(runWith(script), 1);
    EXPECT_FALSE(seam::gaveUp()) << "the close request was lost";
    // The idle game shows its frame again when uncovered, at its next poll,
    // and nothing more until the close request.
    const auto shownAgain =
        std::find_if(frames.begin(), frames.end(), [](const Shown& s) { return s.at >= 300; });
    ASSERT_TRUE(shownAgain != frames.end() && shownAgain + 1 != frames.end());
    EXPECT_FALSE(shownAgain->menu);
    EXPECT_LT(shownAgain->at, 300u + Game::FRAME_INTERVAL_MS);
    EXPECT_GE((shownAgain + 1)->at, 1000u);
    // The game ends at its next poll, and the menu after it at its first.
    EXPECT_LE(seam::now(), 1000u + Game::FRAME_INTERVAL_MS + 50 + 100 + 40);
    EXPECT_TRUE(frames.back().menu);

    // The window as a player sees it.
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->w, layout::WINDOW_SIZE);
    EXPECT_EQ(window->h, layout::WINDOW_SIZE);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "vantrixo");
}

TEST(ProgramTest, FailedSdlOrVideoModeEndsWithStatusOneAndNoScreenUsed) {
    {
        Environment env;
        env.set("SDL_VIDEODRIVER", "nosuchdriver");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runWith({}), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Argh! Can't init SDL!\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "No available video device\n");
        EXPECT_EQ(seam::driversAsked(), std::vector<std::string>{"nosuchdriver"});  // as named
    }

    // No video mode: the same message, SDL's reason on standard error, and
    // nothing ever drawn on a null screen.
    seam::reset();
    frames.clear();
    seam::refuseVideoMode("no such mode here");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runProgram(0, nullptr), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Argh! Can't init SDL!\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no such mode here\n");
    EXPECT_TRUE(seam::flipTimes().empty());
}

// With no driver named, only the window system's own is tried, and SDL is
// never left to fall back to a text-mode driver that draws into the terminal.
// (No window system answers here; the end-to-end tests start on a real one.)
TEST(ProgramTest, WithoutANamedDriverOnlyTheWindowSystemsIsTried) {
    // A display that is named but cannot be opened is named in the message,
    // with SDL's reason after it.
    struct Case {
        const char* display;
        const char* wayland;
        std::vector<std::string> tried;
        std::string message;
    };
    const Case cases[] = {
        {":4242", "wayland-0", {"x11"}, "no graphical display at DISPLAY=:4242: "},
        {"", "wayland-0", {"wayland"}, "no graphical display at WAYLAND_DISPLAY=wayland-0: "},
        {nullptr, "", {}, "no graphical display\n"},
        {nullptr, "wayland-0", {"wayland"}, "no graphical display at WAYLAND_DISPLAY=wayland-0: "},
    };
    for (const Case& c : cases) {
        Environment env;
        env.set("DISPLAY", c.display);
        env.set("WAYLAND_DISPLAY", c.wayland);
        env.set("SDL_VIDEODRIVER", "");  // names nothing
        // Set by the program for X11; given back after the block.
        env.set("SDL_FRAMEBUFFER_ACCELERATION", nullptr);
        env.set("SDL_RENDER_DRIVER", nullptr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runWith({{0, 10, 10, 0, true}}), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Argh! Can't init SDL!\n");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.substr(0, c.message.size()), c.message);
        EXPECT_TRUE(c.tried.empty() ? said == c.message : said.size() > c.message.size() + 1)
            << said;
        EXPECT_EQ(seam::driversAsked(), c.tried);
        const char* left = std::getenv("SDL_VIDEODRIVER");
        EXPECT_TRUE(left == nullptr || *left == '\0') << "the guess is not left behind";
    }
}

// The light presentation wherever SDL tries X11 first, however it is named.
TEST(ProgramTest, SoftwarePresentationWhereverX11IsTriedFirst) {
    const std::pair<const char*, bool> cases[] = {
        {"x11", true},          {"X11", true},         {"x11,wayland", true},  {",X11,dummy", true},
        {"wayland,x11", false}, {"x11wayland", false}, {"nosuchdriver", false}};
    for (const auto& [driver, light] : cases) {
        Environment env;
        env.set("DISPLAY", ":4242");  // X11 fails at once
        env.set("SDL_VIDEODRIVER", driver);
        env.set("SDL_FRAMEBUFFER_ACCELERATION", nullptr);
        env.set("SDL_RENDER_DRIVER", nullptr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        runWith({{0, 10, 10, 0, true}});
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        const char* renderer = std::getenv("SDL_RENDER_DRIVER");
        EXPECT_EQ(renderer != nullptr && std::string(renderer) == "software", light) << driver;
        EXPECT_EQ(std::getenv("SDL_FRAMEBUFFER_ACCELERATION") != nullptr, light) << driver;
    }
}

TEST(ProgramTest, ExitAtTheFirstMenuShowsNoGame) {
    EXPECT_EQ(runWith({{0, 10, 10, 0, true}}), 1);
    ASSERT_FALSE(frames.empty());
    for (const Shown& s : frames) {
        EXPECT_TRUE(s.menu);
    }
}

TEST(ProgramTest, TheSettingsReachTheGameAndTheMenuComesBackAfterItsPause) {
    // The person plays red against hard at depth 3: each time the first move
    // of its list, two seconds apart; the computer must answer as hard at
    // depth 3 does, or the person's clicks no longer fit the position.
    Board board;
    std::vector<Input> script = {
        {0, 262, 259, 1, false},                             // difficulty up: normal -> hard
        {60, 10, 10, 0, false},  {300, 195, 293, 1, false},  // depth down: 5 -> 3
        {360, 10, 10, 0, false}, {600, 200, 182, 1, false},  // person plays red
        {660, 10, 10, 0, false},
    };
    ComputerPlayer computer(PositionValues::SHIPPED_TABLE, 3, 2, GREEN);
    for (uint32_t t = 1000; t < 9000; t += 2000) {
        MoveList moves(RED, &board);
        int x = -1;
        int y = -1;
        moves.first()->cell(x, y);
        moves.apply(x, y);
        script.push_back({t, seam::pixelOf(x), seam::pixelOf(y), 1, false});
        script.push_back({t + 40, 10, 10, 0, false});
        MoveList replies(GREEN, &board);
        computer.play(&replies);
    }
    script.push_back({9000, 10, 10, 0, true});  // a short ESC: back to the menu
    script.push_back({9030, 10, 10, 0, false});
    script.push_back({10000, 10, 10, 0, true});  // ESC on the menu: the end
    EXPECT_EQ(runWith(script), 1);
    EXPECT_FALSE(seam::gaveUp());

    size_t lastGameFrame = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        lastGameFrame = frames[i].menu ? lastGameFrame : i;
    }
    ASSERT_LT(lastGameFrame + 1, frames.size());
    Cells expected;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (board.getCell(x, y) != EMPTY) {
                expected[{x, y}] =
                    board.getCell(x, y) == RED ? "data/bolinha/1.png" : "data/bolinha/10.png";
            }
        }
    }
    EXPECT_EQ(frames[lastGameFrame].discs, expected);
    // The game sees ESC at its next poll, waits 50 ms, and the menu follows
    // 100 ms later.
    uint32_t seen = 0;
    for (uint32_t poll : seam::pollTimes()) {
        if (poll >= 9000) {
            seen = poll;
            break;
        }
    }
    EXPECT_EQ(frames[lastGameFrame + 1].at, seen + 50 + 100);
}
