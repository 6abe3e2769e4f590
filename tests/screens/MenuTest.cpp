#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/Layout.h"
#include "screens/Menu.h"
#include "support/SdlSeam.h"

namespace {

using seam::Input;

// What one flipped menu screen shows in its three changing places.
struct Shown {
    std::string item;
    std::string difficulty;
    std::string depth;
    uint32_t at = 0;
    bool operator==(const Shown& o) const {
        return item == o.item && difficulty == o.difficulty && depth == o.depth;
    }
};

std::ostream& operator<<(std::ostream& os, const Shown& s) {
    return os << "{" << s.item << ", " << s.difficulty << ", " << s.depth << "}";
}

Shown shown(SDL_Surface* screen) {
    return {seam::pictureAt(screen, layout::MENU_ITEMS.x, layout::MENU_ITEMS.y),
            seam::pictureAt(screen, layout::MENU_DIFFICULTY.x, layout::MENU_DIFFICULTY.y),
            seam::pictureAt(screen, layout::MENU_DEPTH.x, layout::MENU_DEPTH.y), seam::now()};
}

// The menu polls every 40 ms (and waits 100 ms more after an arrow step):
// input i of a list, without steps, is what poll i sees.
std::vector<Input> perPoll(const std::vector<Input>& inputs) {
    std::vector<Input> out = inputs;
    for (size_t i = 0; i < out.size(); ++i) {
        out[i].at = static_cast<uint32_t>(40 * i);
    }
    return out;
}

Input at(int x, int y, bool button = false) {
    return {0, x, y, static_cast<uint8_t>(button ? SDL_BUTTON(1) : 0), false};
}
Input esc(int x = 0, int y = 0) {
    return {0, x, y, 0, true};
}

const Input ITEM1 = at(200, 160);
const Input NOWHERE = at(20, 20);

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override { fresh(); }

    void fresh() {
        seam::reset();
        screen = seam::screen();
        frames.clear();
        seam::onFlip([this](SDL_Surface* s) { frames.push_back(shown(s)); });
    }

    // Runs the menu on a script; outputs start at -1 so a missed write shows.
    int32_t run(Menu& menu, const std::vector<Input>& inputs) {
        seam::script(inputs, 2000);
        depth = -1;
        difficulty = -1;
        const int32_t item = menu.run(screen, depth, difficulty);
        EXPECT_FALSE(seam::gaveUp()) << "the menu kept polling past its script";
        return item;
    }

    std::vector<std::string> items() const {
        std::vector<std::string> out;
        for (const Shown& s : frames) {
            out.push_back(s.item);
        }
        return out;
    }

    SDL_Surface* screen = nullptr;
    std::vector<Shown> frames;
    int32_t depth = -1;
    int32_t difficulty = -1;
};

TEST_F(MenuTest, StartsAtNormalAndDepthFiveOverItsBackground) {
    Menu menu;
    menu.draw(screen);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0],
              (Shown{"data/menu/none.png", "data/menu/dif_normal.png", "data/menu/depth5.png"}));
    EXPECT_EQ(seam::pictureAt(screen, 0, 0), "data/menu/fundo.png");
    EXPECT_EQ(seam::now(), 0u);
}

TEST_F(MenuTest, EscChoosesExitWhereverThePointerIsAfterShowingIt) {
    Menu menu;
    // Over nothing, over an item, and already over exit.
    const Input pointers[] = {NOWHERE, at(200, 180), at(200, 225)};
    for (const Input& pointer : pointers) {
        fresh();
        Input press = pointer;
        press.esc = true;
        EXPECT_EQ(run(menu, perPoll({pointer, press})), 4) << pointer.x << "," << pointer.y;
        EXPECT_EQ(depth, 5);
        EXPECT_EQ(difficulty, 1);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.back().item, "data/menu/exit.png");
        // Seen at the second poll; the run ends after that poll's wait.
        EXPECT_EQ(seam::now(), 80u);
    }

    // ESC held as the menu comes up ends it on the first poll.
    fresh();
    EXPECT_EQ(run(menu, {esc()}), 4);
    EXPECT_EQ(seam::now(), 40u);
    EXPECT_EQ(frames.front().item, "data/menu/none.png");
    EXPECT_EQ(frames.back().item, "data/menu/exit.png");
}

TEST_F(MenuTest, ItemsAndArrowsAnswerUpToTheirEdgesAndNothingBeyond) {
    // Each region with what a click in it gives: the item, or the settings.
    struct Area {
        layout::Region region;
        int32_t item, depth, difficulty;
    };
    const Area areas[] = {
        {layout::ITEM_REGIONS[0], 1, 5, 1}, {layout::ITEM_REGIONS[1], 2, 5, 1},
        {layout::ITEM_REGIONS[2], 3, 5, 1}, {layout::ITEM_REGIONS[3], 4, 5, 1},
        {layout::DEPTH_DOWN, 0, 3, 1},      {layout::DEPTH_UP, 0, 7, 1},
        {layout::DIFFICULTY_DOWN, 0, 5, 0}, {layout::DIFFICULTY_UP, 0, 5, 2},
    };
    // A click on the point; unless it chose an item, ESC ends the run.
    auto click = [&](int x, int y, const Area* area) {
        fresh();
        Menu menu;
        const int32_t item = run(menu, perPoll({at(x, y, true), esc(x, y)}));
        const std::string where = std::to_string(x) + "," + std::to_string(y);
        EXPECT_EQ(item, area != nullptr && area->item != 0 ? area->item : 4) << where;
        EXPECT_EQ(depth, area != nullptr ? area->depth : 5) << where;
        EXPECT_EQ(difficulty, area != nullptr ? area->difficulty : 1) << where;
        if (area == nullptr) {
            EXPECT_EQ(frames.size(), 2u) << where << ": only the first screen and exit";
        } else if (area->item != 0) {
            EXPECT_EQ(seam::now(), 40u) << where << ": chosen at the first poll";
        }
    };
    click(0, 0, nullptr);
    click(399, 399, nullptr);
    for (const Area& a : areas) {
        // Each edge from inside, then the pixel beyond it.
        const layout::Region& r = a.region;
        const int x = (r.left + r.right) / 2;
        const int y = (r.top + r.bottom) / 2;
        click(r.left, y, &a);
        click(r.right, y, &a);
        click(x, r.top, &a);
        click(x, r.bottom, &a);
        click(r.left - 1, y, nullptr);
        click(r.right + 1, y, nullptr);
        click(x, r.top - 1, nullptr);
        click(x, r.bottom + 1, nullptr);
    }
}

TEST_F(MenuTest, HoverRedrawsOnChangeAndAHeldButtonDraggedOntoAnItemChoosesIt) {
    Menu menu;
    // The button is a level: held over nothing it does nothing, dragged onto
    // an item it chooses that item in the same poll.
    const int32_t item =
        run(menu, perPoll({NOWHERE, ITEM1, at(140, 160), at(200, 182), at(200, 182),
                           at(20, 20, true), at(60, 300, true), at(116, 198, true)}));
    EXPECT_EQ(item, 3);
    EXPECT_EQ(items(), (std::vector<std::string>{"data/menu/none.png", "data/menu/twoplayers.png",
                                                 "data/menu/sred.png", "data/menu/none.png",
                                                 "data/menu/sgreen.png"}));
    EXPECT_EQ(depth, 5);
    EXPECT_EQ(difficulty, 1);
    // Eight polls 40 ms apart.
    EXPECT_EQ(seam::now(), 8u * 40u);
}

TEST_F(MenuTest, ArrowsStepClampAndRepeatWhileHeld) {
    const int dx = (layout::DEPTH_DOWN.left + layout::DEPTH_DOWN.right) / 2;
    const int ux = (layout::DEPTH_UP.left + layout::DEPTH_UP.right) / 2;
    const int depthY = layout::DEPTH_DOWN.top;
    const int ex = layout::DIFFICULTY_DOWN.right;
    const int hx = layout::DIFFICULTY_UP.left;
    const int difficultyY = layout::DIFFICULTY_UP.bottom;
    Menu menu;
    const int32_t item = run(menu, {
                                       {0, dx, depthY, 1, false},          // 5 -> 3, then stays
                                       {300, ux, depthY, 1, false},        // 3 -> 5 -> 7, stays
                                       {700, ex, difficultyY, 1, false},   // normal -> easy
                                       {1000, hx, difficultyY, 1, false},  // -> hard
                                       {1400, 190, 290, 1, false},         // just outside each
                                       {1480, 313, 290, 1, false},
                                       {1560, 150, 249, 1, false},
                                       {1640, 262, 269, 1, false},
                                       {1720, 150, 260, 0, false},  // no button
                                       {1800, 0, 0, 0, true},
                                   });
    EXPECT_EQ(item, 4) << "an arrow never chooses an item";
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 2);

    const std::string none = "data/menu/none.png";
    const std::vector<Shown> expected = {
        {none, "data/menu/dif_normal.png", "data/menu/depth5.png"},
        {none, "data/menu/dif_normal.png", "data/menu/depth3.png"},
        {none, "data/menu/dif_normal.png", "data/menu/depth5.png"},
        {none, "data/menu/dif_normal.png", "data/menu/depth7.png"},
        {none, "data/menu/dif_easy.png", "data/menu/depth7.png"},
        {none, "data/menu/dif_normal.png", "data/menu/depth7.png"},
        {none, "data/menu/dif_hard.png", "data/menu/depth7.png"},
        {"data/menu/exit.png", "data/menu/dif_hard.png", "data/menu/depth7.png"},
    };
    ASSERT_EQ(frames, expected) << "a step at the end of the range must not redraw";
    // A held arrow steps every 140 ms: the 100 ms after a step and the poll's 40.
    EXPECT_EQ(frames[3].at - frames[2].at, 140u);
    EXPECT_EQ(frames[6].at - frames[5].at, 140u);
}

TEST_F(MenuTest, SettingsOutliveARunAndTheHighlightDoesNot) {
    Menu menu;
    EXPECT_EQ(run(menu, perPoll({at(150, 260, true), NOWHERE, NOWHERE, NOWHERE, at(310, 290, true),
                                 NOWHERE, NOWHERE, NOWHERE, at(205, 226, true)})),
              4);
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 0);

    frames.clear();
    EXPECT_EQ(run(menu, perPoll({NOWHERE, ITEM1, at(200, 160, true)})), 1);
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 0);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(),
              (Shown{"data/menu/none.png", "data/menu/dif_easy.png", "data/menu/depth7.png"}));
}

TEST_F(MenuTest, WorksByItsRegionsWhenEveryPictureIsMissing) {
    seam::makeMissing();
    Menu menu;
    EXPECT_EQ(
        run(menu, perPoll({at(195, 302, true), NOWHERE, NOWHERE, NOWHERE, at(120, 205, true)})), 3);
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(difficulty, 1);
    EXPECT_EQ(seam::pictureAt(screen, 200, 200), "");
}

}  // namespace
