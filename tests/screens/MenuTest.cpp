#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SdlSeam.h"
#include "screens/Menu.h"

namespace {

using seam::Input;

// What one flipped menu screen shows in its three changing places.
struct Shown {
    std::string item;
    std::string difficulty;
    std::string depth;
    bool operator==(const Shown& o) const {
        return item == o.item && difficulty == o.difficulty && depth == o.depth;
    }
};

std::ostream& operator<<(std::ostream& os, const Shown& s) {
    return os << "{" << s.item << ", " << s.difficulty << ", " << s.depth << "}";
}

Shown shown(const seam::Pixels& frame) {
    return {seam::pictureAt(frame, 115, 150), seam::pictureAt(frame, 145, 250),
            seam::pictureAt(frame, 95, 280)};
}

std::vector<Shown> shownFrames() {
    std::vector<Shown> out;
    for (const seam::Pixels& frame : seam::flips()) {
        out.push_back(shown(frame));
    }
    return out;
}

Input at(int x, int y, bool button = false) {
    return {x, y, button, false};
}
Input esc(int x = 0, int y = 0) {
    return {x, y, false, true};
}

const Input ITEM1 = at(200, 160);
const Input NOWHERE = at(20, 20);

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seam::reset();
        screen = seam::makeScreen();
        ASSERT_NE(screen, nullptr);
    }
    void TearDown() override { SDL_FreeSurface(screen); }

    // Runs the menu on a script; outputs start at -1 so a missed write shows.
    int32_t run(Menu& menu, const std::vector<Input>& inputs) {
        seam::script(inputs);
        depth = -1;
        difficulty = -1;
        const int32_t item = menu.run(screen, depth, difficulty);
        EXPECT_FALSE(seam::overran()) << "the menu kept polling past its script";
        return item;
    }

    int polls() const {
        int n = 0;
        for (const seam::Event& e : seam::events()) {
            n += e.kind == seam::Kind::Pump;
        }
        return n;
    }

    SDL_Surface* screen = nullptr;
    int32_t depth = -1;
    int32_t difficulty = -1;
};

TEST_F(MenuTest, LoadsItsPicturesInOrderAndStartsAtNormalAndDepthFive) {
    Menu menu;
    const std::vector<std::string> expected = {
        "data/menu/none.png",       "data/menu/twoplayers.png", "data/menu/sred.png",
        "data/menu/sgreen.png",     "data/menu/exit.png",       "data/menu/depth3.png",
        "data/menu/depth5.png",     "data/menu/depth7.png",     "data/menu/dif_easy.png",
        "data/menu/dif_normal.png", "data/menu/dif_hard.png",   "data/menu/fundo.png"};
    EXPECT_EQ(seam::loads(), expected);

    // draw is the four pictures and one flip, nothing else.
    menu.draw(screen);
    ASSERT_EQ(seam::flipCount(), 1);
    EXPECT_EQ(shown(seam::flips()[0]),
              (Shown{"menu/none.png", "menu/dif_normal.png", "menu/depth5.png"}));
    EXPECT_EQ(seam::pictureAt(seam::flips()[0], 0, 0), "menu/fundo.png");
    EXPECT_EQ(seam::totalDelay(), 0u);
}

TEST_F(MenuTest, EscChoosesExitWhereverThePointerIsAfterShowingIt) {
    Menu menu;
    // Over nothing, over an item, and already over exit.
    const Input pointers[] = {NOWHERE, at(200, 180), at(200, 225)};
    for (const Input& pointer : pointers) {
        seam::reset();
        Input press = pointer;
        press.esc = true;
        EXPECT_EQ(run(menu, {pointer, press}), 4) << pointer.x << "," << pointer.y;
        EXPECT_EQ(depth, 5);
        EXPECT_EQ(difficulty, 1);
        ASSERT_FALSE(seam::flips().empty());
        EXPECT_EQ(shown(seam::flips().back()).item, "menu/exit.png");
        EXPECT_EQ(polls(), 2);
        // The last wait of the loop follows the exit picture.
        EXPECT_EQ(seam::events().back().kind, seam::Kind::Delay);
    }

    // ESC held as the menu comes up ends it on the first poll.
    seam::reset();
    EXPECT_EQ(run(menu, {esc()}), 4);
    EXPECT_EQ(polls(), 1);
    EXPECT_EQ(shownFrames().front().item, "menu/none.png");
    EXPECT_EQ(shownFrames().back().item, "menu/exit.png");
}

TEST_F(MenuTest, ItemsAndArrowsAnswerUpToTheirEdgesAndNothingBeyond) {
    // Each region with what a click in it gives: the item, or the settings.
    struct Area {
        int left, right, top, bottom;
        int32_t item, depth, difficulty;
    };
    const Area areas[] = {
        {133, 270, 154, 166, 1, 5, 1}, {126, 277, 176, 188, 2, 5, 1}, {116, 287, 198, 210, 3, 5, 1},
        {187, 218, 220, 232, 4, 5, 1}, {191, 200, 284, 302, 0, 3, 1}, {303, 312, 284, 302, 0, 7, 1},
        {146, 155, 250, 268, 0, 5, 0}, {258, 267, 250, 268, 0, 5, 2},
    };
    // A click on the point; unless it chose an item, ESC ends the run.
    auto click = [&](int x, int y, const Area* area) {
        seam::reset();
        Menu menu;
        const int32_t item = run(menu, {at(x, y, true), esc(x, y)});
        const std::string where = std::to_string(x) + "," + std::to_string(y);
        EXPECT_EQ(item, area != nullptr && area->item != 0 ? area->item : 4) << where;
        EXPECT_EQ(depth, area != nullptr ? area->depth : 5) << where;
        EXPECT_EQ(difficulty, area != nullptr ? area->difficulty : 1) << where;
        if (area == nullptr) {
            EXPECT_EQ(seam::flipCount(), 2) << where << ": only the first screen and exit";
        } else if (area->item != 0) {
            EXPECT_EQ(polls(), 1) << where;
        }
    };
    click(0, 0, nullptr);
    click(399, 399, nullptr);
    for (const Area& a : areas) {
        // Each edge from inside, then the pixel beyond it.
        const int x = (a.left + a.right) / 2;
        const int y = (a.top + a.bottom) / 2;
        click(a.left, y, &a);
        click(a.right, y, &a);
        click(x, a.top, &a);
        click(x, a.bottom, &a);
        click(a.left - 1, y, nullptr);
        click(a.right + 1, y, nullptr);
        click(x, a.top - 1, nullptr);
        click(x, a.bottom + 1, nullptr);
    }
}

TEST_F(MenuTest, HoverRedrawsOnChangeAndAHeldButtonDraggedOntoAnItemChoosesIt) {
    Menu menu;
    // The button is a level: held over nothing it does nothing, dragged onto
    // an item it chooses that item in the same poll.
    const int32_t item = run(menu, {NOWHERE, ITEM1, at(140, 160), at(200, 182), at(200, 182),
                                    at(20, 20, true), at(60, 300, true), at(116, 198, true)});
    EXPECT_EQ(item, 3);
    std::vector<std::string> items;
    for (const Shown& s : shownFrames()) {
        items.push_back(s.item);
    }
    EXPECT_EQ(items,
              (std::vector<std::string>{"menu/none.png", "menu/twoplayers.png", "menu/sred.png",
                                        "menu/none.png", "menu/sgreen.png"}));
    EXPECT_EQ(depth, 5);
    EXPECT_EQ(difficulty, 1);
    // One 40 ms wait per poll and nothing else.
    EXPECT_EQ(polls(), 8);
    EXPECT_EQ(seam::totalDelay(), 8u * 40u);
}

TEST_F(MenuTest, ArrowsStepClampAndRepeatWhileHeld) {
    const Input depthDown = at(191, 284, true);
    const Input depthUp = at(312, 302, true);
    const Input difficultyDown = at(155, 268, true);
    const Input difficultyUp = at(258, 250, true);
    Menu menu;
    const int32_t item = run(menu, {
                                       depthDown,
                                       depthDown,
                                       depthDown,  // 5 -> 3, then stays
                                       depthUp,
                                       depthUp,
                                       depthUp,
                                       depthUp,  // 3 -> 5 -> 7, stays
                                       difficultyDown,
                                       difficultyDown,  // normal -> easy, stays
                                       difficultyUp,
                                       difficultyUp,
                                       difficultyUp,  // -> hard
                                       at(190, 290, true),
                                       at(313, 290, true),  // just outside
                                       at(150, 249, true),
                                       at(262, 269, true),
                                       at(150, 260),  // on an arrow without the button
                                       esc(),
                                   });
    EXPECT_EQ(item, 4) << "an arrow never chooses an item";
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 2);

    const std::vector<Shown> expected = {
        {"menu/none.png", "menu/dif_normal.png", "menu/depth5.png"},
        {"menu/none.png", "menu/dif_normal.png", "menu/depth3.png"},
        {"menu/none.png", "menu/dif_normal.png", "menu/depth5.png"},
        {"menu/none.png", "menu/dif_normal.png", "menu/depth7.png"},
        {"menu/none.png", "menu/dif_easy.png", "menu/depth7.png"},
        {"menu/none.png", "menu/dif_normal.png", "menu/depth7.png"},
        {"menu/none.png", "menu/dif_hard.png", "menu/depth7.png"},
        {"menu/exit.png", "menu/dif_hard.png", "menu/depth7.png"},
    };
    EXPECT_EQ(shownFrames(), expected) << "a step at the end of the range must not redraw";

    // Time of every flip on the scripted clock: a held arrow steps every 140 ms
    // (the 100 ms after a step plus the 40 ms of the poll).
    std::vector<uint32_t> flipTimes;
    uint32_t clock = 0;
    for (const seam::Event& e : seam::events()) {
        if (e.kind == seam::Kind::Delay) {
            clock += e.value;
        } else if (e.kind == seam::Kind::Flip) {
            flipTimes.push_back(clock);
        }
    }
    ASSERT_EQ(flipTimes.size(), 8u);
    EXPECT_EQ(flipTimes[3] - flipTimes[2], 140u);
    EXPECT_EQ(flipTimes[6] - flipTimes[5], 140u);
    EXPECT_EQ(seam::totalDelay(), 18u * 40u + 6u * 100u);
}

TEST_F(MenuTest, SettingsOutliveARunAndTheHighlightDoesNot) {
    Menu menu;
    EXPECT_EQ(run(menu, {at(150, 260, true), NOWHERE, at(310, 290, true), at(205, 226, true)}), 4);
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 0);

    seam::reset();
    EXPECT_EQ(run(menu, {NOWHERE, ITEM1, at(200, 160, true)}), 1);
    EXPECT_EQ(depth, 7);
    EXPECT_EQ(difficulty, 0);
    ASSERT_FALSE(seam::flips().empty());
    EXPECT_EQ(shownFrames().front(),
              (Shown{"menu/none.png", "menu/dif_easy.png", "menu/depth7.png"}));
}

TEST_F(MenuTest, WorksByItsRegionsWhenEveryPictureIsMissing) {
    seam::setPicturesMissing(true);
    Menu menu;
    EXPECT_EQ(run(menu, {at(195, 302, true), at(120, 205, true)}), 3);
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(difficulty, 1);
    EXPECT_EQ(seam::pictureAt(seam::grab(screen), 200, 200), "");
}

}  // namespace
