#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/Difficulty.h"
#include "rules/MoveList.h"
#include "screens/Game.h"
#include "screens/Layout.h"
#include "screens/MenuItem.h"
#include "support/SdlSeam.h"

using seam::Input;

namespace {

using Cell = std::pair<int, int>;

const std::string RED_DISC = "data/bolinha/1.png";
const std::string GREEN_DISC = "data/bolinha/10.png";
const std::string HIGHLIGHT = "data/game/botaoreversiazul.png";
const std::string RED_TURN = "data/game/redturn.png";
const std::string GREEN_TURN = "data/game/greenturn.png";
const std::string FLIP_LABEL = "data/game/flip.png";

// What one flipped frame shows, read from the screen's pixels.
struct Shown {
    uint32_t at = 0;
    std::map<Cell, std::string> discs;
    std::string indicator;
    Cell highlight{-1, -1};
    int green = -1;
    int red = -1;
    bool animation() const { return indicator == FLIP_LABEL; }
};

int countAt(SDL_Surface* screen, layout::Point where) {
    const std::string strip = "data/game/numbers.png:";
    const std::string tens = seam::pictureAt(screen, where.x, where.y);
    const std::string units = seam::pictureAt(screen, where.x + layout::DIGIT_STEP, where.y);
    if (tens.rfind(strip, 0) != 0 || units.rfind(strip, 0) != 0) {
        return -1;
    }
    return 10 * std::stoi(tens.substr(strip.size())) + std::stoi(units.substr(strip.size()));
}

Shown read(SDL_Surface* screen) {
    Shown s;
    s.at = seam::now();
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int left = layout::DISC_ORIGIN + layout::CELL_PITCH * x;
            const int top = layout::DISC_ORIGIN + layout::CELL_PITCH * y;
            const std::string picture = seam::pictureAt(screen, left, top);
            if (picture == RED_DISC || picture == GREEN_DISC) {
                s.discs[{x, y}] = picture;
            } else if (picture == HIGHLIGHT) {
                s.highlight = {x, y};
            }
        }
    }
    s.indicator = seam::pictureAt(screen, layout::INDICATOR.x, layout::INDICATOR.y);
    if (!s.animation()) {
        s.green = countAt(screen, layout::GREEN_COUNT);
        s.red = countAt(screen, layout::RED_COUNT);
    }
    return s;
}

// Plays a game on the script and returns every frame it showed.
std::vector<Shown> playGame(int mode, std::vector<Input> script, int depth = 5,
                            int difficulty = NORMAL) {
    seam::reset(std::move(script));
    std::vector<Shown> frames;
    seam::onFlip([&frames](SDL_Surface* screen) { frames.push_back(read(screen)); });
    {
        Game game(mode, depth, difficulty);
        game.run(seam::screen());
    }
    EXPECT_FALSE(seam::gaveUp()) << "the game did not end on its ESC";
    return frames;
}

std::vector<Shown> gameFrames(const std::vector<Shown>& frames) {
    std::vector<Shown> out;
    for (const Shown& s : frames) {
        if (!s.animation()) {
            out.push_back(s);
        }
    }
    return out;
}

// Clicks on each cell in turn, one second apart from t = 300, the button held
// 40 ms (longer than a frame, so the polling loop sees it); then ESC.
std::vector<Input> clicksOn(const std::vector<Cell>& cells) {
    std::vector<Input> script;
    uint32_t t = 300;
    for (const Cell& c : cells) {
        const int px = seam::pixelOf(c.first);
        const int py = seam::pixelOf(c.second);
        script.push_back({t, px, py, 1, false});
        script.push_back({t + 40, px, py, 0, false});
        t += 1000;
    }
    script.push_back({t, 10, 10, 0, true});
    return script;
}

// The first poll at or after `t`: where the game sees what happened at t.
uint32_t seenAt(uint32_t t) {
    for (uint32_t poll : seam::pollTimes()) {
        if (poll >= t) {
            return poll;
        }
    }
    return UINT32_MAX;
}

// The counts after each move of `cells`, worked out with the rules alone.
std::vector<std::pair<int, int>> countsAlong(const std::vector<Cell>& cells, int& finalTurn) {
    Board board;
    int turn = RED;
    std::vector<std::pair<int, int>> out{{2, 2}};
    for (const Cell& c : cells) {
        MoveList moves(turn, &board);
        EXPECT_TRUE(moves.hasMove(c.first, c.second)) << c.first << "," << c.second;
        moves.apply(c.first, c.second);
        board.recount();
        out.push_back({board.greenCount(), board.redCount()});
        turn = MoveList::sideToMove(board, opponentOf(turn));
    }
    finalTurn = turn;
    return out;
}

}  // namespace

TEST(GameTest, EscHeldAtTheStartEndsTheGameWithoutAFrameAfterItsWaits) {
    const std::vector<Shown> frames = playGame(TWO_PLAYERS, {{0, 200, 200, 1, true}});
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(seam::now(), 100u + 50u);  // the wait before the first frame, and at the end
}

TEST(GameTest, TwoPlayersOpeningMoveByClickWithItsAnimationAndWaits) {
    seam::reset();
    seam::makeMissing("data/game/esctext.png");  // a missing picture draws nothing
    std::vector<Shown> frames;
    seam::script(clicksOn({{5, 4}}));
    seam::onFlip([&frames](SDL_Surface* screen) { frames.push_back(read(screen)); });
    {
        Game game(TWO_PLAYERS, 5, NORMAL);
        game.run(seam::screen());
    }
    ASSERT_FALSE(seam::gaveUp());

    ASSERT_GE(frames.size(), 12u);
    const Shown& first = frames.front();
    EXPECT_EQ(first.at, 100u);
    EXPECT_EQ(first.indicator, RED_TURN);
    EXPECT_EQ(first.green, 2);
    EXPECT_EQ(first.red, 2);
    EXPECT_EQ(seam::pictureAt(seam::screen(), layout::ESC_TEXT.x, layout::ESC_TEXT.y),
              "data/game/tabuleiro.png");

    // Ten animation frames 40 ms apart from the poll that saw the click, then
    // the 200 ms wait before the next game frame.
    size_t a = 0;
    while (a < frames.size() && !frames[a].animation()) {
        ++a;
    }
    ASSERT_LE(a + 11, frames.size());
    EXPECT_EQ(frames[a].at, seenAt(300));
    for (size_t i = 1; i < 10; ++i) {
        EXPECT_TRUE(frames[a + i].animation());
        EXPECT_EQ(frames[a + i].at - frames[a + i - 1].at, 40u);
    }
    EXPECT_FALSE(frames[a + 10].animation());
    EXPECT_EQ(frames[a + 10].at - frames[a + 9].at, 40u + 200u);

    const Shown& last = frames.back();
    EXPECT_EQ(last.indicator, GREEN_TURN);
    EXPECT_EQ(last.green, 1);
    EXPECT_EQ(last.red, 4);
    const std::map<Cell, std::string> discs = {{{3, 3}, GREEN_DISC},
                                               {{3, 4}, RED_DISC},
                                               {{4, 3}, RED_DISC},
                                               {{4, 4}, RED_DISC},
                                               {{5, 4}, RED_DISC}};
    EXPECT_EQ(last.discs, discs);
    SDL_Surface* screen = seam::screen();
    EXPECT_EQ(seam::pictureAt(screen, layout::GREEN_DISC.x, layout::GREEN_DISC.y), GREEN_DISC);
    EXPECT_EQ(seam::pictureAt(screen, layout::RED_DISC.x, layout::RED_DISC.y), RED_DISC);
    // The run ends 50 ms after the poll that saw ESC.
    EXPECT_EQ(seam::now(), seenAt(1300) + 50u);
}

TEST(GameTest, HighlightOnlyOverALegalCellAndNothingInTheOuterBand) {
    const int x = seam::pixelOf(5);
    const int y = seam::pixelOf(4);
    const std::vector<Shown> frames =
        playGame(TWO_PLAYERS, {
                                  {0, x, y, 0, false},        // (5,4): legal for red
                                  {200, 240, 200, 0, false},  // its top-left
                                  {300, 239, 200, 0, false},  // (4,4): taken
                                  {400, 40, 79, 1, false},    // (0,0): clicked
                                  {500, 20, y, 1, false},     // the outer band
                                  {600, 380, y, 1, false},
                                  {700, x, 365, 1, false},
                                  {800, x, 5, 1, false},
                                  {900, 10, 10, 0, true},
                              });
    // No move at all, and a frame only when what it shows changes: the
    // highlight, then none.
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].highlight, Cell(5, 4));
    EXPECT_LT(frames[1].at, 300u + 2 * Game::FRAME_INTERVAL_MS);
    EXPECT_GE(frames[1].at, 300u);
    EXPECT_EQ(frames[1].highlight, Cell(-1, -1));
    for (const Shown& s : frames) {
        EXPECT_EQ(s.red, 2);
        EXPECT_EQ(s.green, 2);
    }
}

TEST(GameTest, AnIdleGameDrawsOnceAndFramesNeverComeFasterThanThePace) {
    // Idle until 1000, then the pointer jumps between two legal cells every 5 ms.
    std::vector<Input> script = {{0, 10, 10, 0, false}};
    for (uint32_t t = 1000; t < 1500; t += 5) {
        script.push_back(
            {t, seam::pixelOf(t % 10 == 0 ? 5 : 2), seam::pixelOf(t % 10 ? 3 : 4), 0, false});
    }
    script.push_back({1500, 10, 10, 0, true});
    const std::vector<Shown> frames = playGame(TWO_PLAYERS, script);
    size_t idleFrames = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        idleFrames += frames[i].at < 1000 ? 1 : 0;
        if (i > 0) {
            EXPECT_GE(frames[i].at - frames[i - 1].at, Game::FRAME_INTERVAL_MS);
        }
    }
    EXPECT_EQ(idleFrames, 1u);
    EXPECT_GE(frames.size(), 10u);
    // Still polling at the pace meanwhile: 900 ms at one iteration per 17 ms.
    size_t idlePolls = 0;
    for (uint32_t poll : seam::pollTimes()) {
        idlePolls += poll >= 100 && poll < 1000 ? 1 : 0;
    }
    EXPECT_GE(idlePolls, 50u);
    EXPECT_LE(idlePolls, 56u);
}

TEST(GameTest, HeldButtonPlaysTheNextLegalCellAfterTheWait) {
    const int gx = seam::pixelOf(5);
    const int gy = seam::pixelOf(3);
    const std::vector<Shown> frames = playGame(
        TWO_PLAYERS, {
                         {300, seam::pixelOf(5), seam::pixelOf(4), 1, false},
                         // Still held, moved during the animation onto a cell green may play.
                         {400, gx, gy, 1, false},
                         {3000, gx, gy, 1, true},
                     });
    // Between the two animations lies exactly one game frame: green's move
    // comes in the very next iteration after the wait.
    std::string kinds;
    for (const Shown& s : frames) {
        kinds += s.animation() ? 'a' : 'g';
    }
    const size_t firstAnimation = kinds.find('a');
    ASSERT_NE(firstAnimation, std::string::npos);
    EXPECT_EQ(kinds.substr(firstAnimation, 21), std::string(10, 'a') + "g" + std::string(10, 'a'));
    const Shown last = gameFrames(frames).back();
    EXPECT_EQ(last.discs.at({5, 3}), GREEN_DISC);
    EXPECT_EQ(last.indicator, RED_TURN);
}

TEST(GameTest, ComputerMovesFirstInModeThreeAndAnswersInModeTwo) {
    std::vector<Shown> frames =
        playGame(PLAY_GREEN, {{0, 10, 10, 0, false}, {2000, 10, 10, 0, true}});
    // The animation starts in the first iteration, before any game frame.
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(frames.front().animation());
    EXPECT_EQ(frames.front().at, 100u);
    Shown last = gameFrames(frames).back();
    EXPECT_EQ(last.red, 4);
    EXPECT_EQ(last.green, 1);
    EXPECT_EQ(last.indicator, GREEN_TURN);
    EXPECT_EQ(last.highlight, Cell(-1, -1));

    // Mode 2: red clicks, the computer answers right after the wait.
    frames = playGame(PLAY_RED, clicksOn({{5, 4}}));
    size_t animations = 0;
    for (const Shown& s : frames) {
        animations += s.animation() ? 1 : 0;
    }
    EXPECT_EQ(animations, 20u);
    last = gameFrames(frames).back();
    EXPECT_EQ(last.red + last.green, 6);
    EXPECT_EQ(last.indicator, RED_TURN);
}

TEST(GameTest, EscDuringALongSearchEndsTheGameAtOnceWithoutAMove) {
    // The computer plays red at depth 7 on easy; green holds the button on the
    // first cell of its list, a new one every 2 s. Red's eighth search is long
    // enough to poll several times.
    constexpr int PLIES = 15;
    Board board;
    std::vector<Input> script;
    for (int ply = 0; ply < PLIES; ++ply) {
        MoveList moves(ply % 2 == 0 ? RED : GREEN, &board);
        int x = -1;
        int y = -1;
        if (ply % 2 == 0) {
            ComputerPlayer(PositionValues::SHIPPED_TABLE, 7, 0, RED).play(&moves);
            continue;
        }
        moves.first()->cell(x, y);
        moves.apply(x, y);
        script.push_back({ply / 2 * 2000u, seam::pixelOf(x), seam::pixelOf(y), 1, false});
    }

    // Every poll, the search's too, takes 5 ms of the clock. First ESC comes
    // long after the game has come to green, then during red's last search.
    uint32_t escAt = 60000;
    for (const bool during : {false, true}) {
        std::vector<Input> inputs = script;
        inputs.push_back({escAt, 10, 10, 0, true});
        seam::reset(inputs);
        seam::advanceOnPump(5);
        std::vector<Shown> frames;
        seam::onFlip([&frames](SDL_Surface* screen) { frames.push_back(read(screen)); });
        {
            Game game(PLAY_GREEN, 7, EASY);
            game.run(seam::screen());
        }
        ASSERT_FALSE(seam::gaveUp());
        if (during) {
            // Seen at the search's next poll: no move, no animation, no frame,
            // and the game ends after its 50 ms.
            EXPECT_LT(frames.back().at, escAt);
            EXPECT_EQ(gameFrames(frames).back().discs.size(), 4u + PLIES - 1);
            EXPECT_LE(seam::now(), escAt + 5 + 50);
            break;
        }
        // Every move, and the last frame shows the position they make.
        const Shown last = gameFrames(frames).back();
        for (const auto& [cell, disc] : last.discs) {
            EXPECT_EQ(disc, board.getCell(cell.first, cell.second) == RED ? RED_DISC : GREEN_DISC);
        }
        EXPECT_EQ(last.discs.size(), 4u + PLIES);
        // ESC next: during red's last search, which starts at the first game
        // frame after the animation before it and ends with the last animation.
        std::vector<uint32_t> searchStarts;
        for (size_t i = 1; i < frames.size(); ++i) {
            if (frames[i - 1].animation() && !frames[i].animation()) {
                searchStarts.push_back(frames[i].at);
            }
        }
        ASSERT_GE(searchStarts.size(), PLIES - 1u);
        uint32_t lastAnimation = 0;
        for (size_t i = 1; i < frames.size(); ++i) {
            lastAnimation =
                frames[i].animation() && !frames[i - 1].animation() ? frames[i].at : lastAnimation;
        }
        // Half way into it, so that the search polls at least once more.
        const uint32_t searching = lastAnimation - searchStarts[PLIES - 2];
        ASSERT_GE(searching, 15u) << "the search is too short for the test";
        escAt = searchStarts[PLIES - 2] + searching / 2;
    }
}

TEST(GameTest, AfterAGameAgainstTheComputerTheHighlightFollowsThePointerOverEveryCell) {
    for (const int mode : {PLAY_RED, PLAY_GREEN}) {
        SCOPED_TRACE(mode);
        // The person's button stays down while the pointer sweeps the board a
        // cell per iteration, so each of its moves is met and the game ends
        // long before the sweep does.
        std::vector<Input> script;
        uint32_t t = 0;
        for (int step = 0; t < 50000; ++step, t += Game::FRAME_INTERVAL_MS) {
            script.push_back({t, seam::pixelOf(step % 8), seam::pixelOf(step / 8 % 8), 1, false});
        }
        script.push_back({t, 10, 10, 0, true});
        const std::vector<Shown> frames = playGame(mode, script, 3, EASY);
        // The last two sweeps: the result, and the highlight on every cell.
        std::set<Cell> highlighted;
        for (const Shown& s : frames) {
            if (s.at >= t - 128 * Game::FRAME_INTERVAL_MS) {
                EXPECT_NE(s.indicator.find("win.png"), std::string::npos) << "not over yet";
                highlighted.insert(s.highlight);
            }
        }
        highlighted.erase({-1, -1});
        EXPECT_EQ(highlighted.size(), 64u);
    }
}

TEST(GameTest, APassGivesTheTurnBackWithoutAMessage) {
    // After green's eighth move red has no legal move; green plays again.
    const std::vector<Cell> cells = {{2, 3}, {2, 2}, {4, 5}, {1, 3}, {0, 3},
                                     {0, 4}, {1, 1}, {0, 2}, {2, 0}};
    testing::internal::CaptureStdout();
    const std::vector<Shown> frames = playGame(TWO_PLAYERS, clicksOn(cells));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The side to move in the first game frame after each animation.
    std::vector<std::string> after;
    for (size_t i = 1; i < frames.size(); ++i) {
        if (frames[i - 1].animation() && !frames[i].animation()) {
            after.push_back(frames[i].indicator);
        }
    }
    const std::string r = RED_TURN;
    const std::string g = GREEN_TURN;
    EXPECT_EQ(after, (std::vector<std::string>{g, r, g, r, g, r, g, g, r}));
    EXPECT_EQ(frames.back().discs.at({2, 0}), GREEN_DISC);
}

namespace {

struct Finished {
    const char* name;
    std::vector<Cell> cells;
    std::string result;
};

}  // namespace

TEST(GameTest, TheEndShowsTheResultAndTheCountsFollowEveryMove) {
    const std::vector<Finished> games = {
        {"red wins",
         {{2, 3}, {2, 2}, {4, 5}, {3, 5}, {2, 5}, {2, 4}, {1, 1}, {2, 6}, {2, 7}},
         "data/game/redwin.png"},
        {"green wins",
         {{5, 4}, {5, 5}, {4, 5}, {5, 3}, {4, 2}, {3, 1}, {3, 2}, {3, 5}, {6, 3}, {7, 3}},
         "data/game/greenwin.png"},
        {"equal counts",
         {{4, 5}, {5, 5}, {5, 4}, {3, 5}, {2, 5}, {2, 3}, {5, 6}, {6, 3}, {2, 4}, {6, 6},
          {4, 2}, {6, 7}, {6, 4}, {5, 3}, {6, 5}, {7, 4}, {7, 7}, {3, 6}, {4, 7}, {1, 4},
          {1, 5}, {1, 3}, {7, 5}, {3, 2}, {7, 2}, {0, 6}, {2, 2}, {6, 2}, {0, 5}, {1, 2},
          {4, 6}, {4, 1}, {2, 1}, {0, 4}, {4, 0}, {5, 0}, {0, 1}, {2, 7}, {0, 2}, {0, 3},
          {3, 7}, {3, 1}, {5, 2}, {0, 0}, {2, 0}, {3, 0}, {5, 7}, {1, 0}, {7, 6}, {2, 6},
          {1, 6}, {5, 1}, {7, 3}, {1, 1}, {1, 7}, {7, 1}, {6, 1}, {7, 0}},
         "data/game/nobodywin.png"},
    };
    bool sawGreenTwelve = false;
    for (const Finished& g : games) {
        SCOPED_TRACE(g.name);
        int finalTurn = -1;
        const std::vector<std::pair<int, int>> counts = countsAlong(g.cells, finalTurn);
        ASSERT_EQ(finalTurn, 0);

        // Clicks after the end (on every cell) change nothing.
        std::vector<Input> script = clicksOn(g.cells);
        const uint32_t end = script.back().at;
        script.pop_back();
        for (int c = 0; c < 8; ++c) {
            script.push_back({end + 40 * c, seam::pixelOf(c), seam::pixelOf(7 - c), 1, false});
        }
        script.push_back({end + 400, 10, 10, 0, true});
        const std::vector<Shown> frames = playGame(TWO_PLAYERS, script);

        std::vector<std::pair<int, int>> seen;
        for (const Shown& s : gameFrames(frames)) {
            if (seen.empty() || seen.back() != std::make_pair(s.green, s.red)) {
                seen.emplace_back(s.green, s.red);
            }
            sawGreenTwelve |= s.green == 12;
        }
        EXPECT_EQ(seen, counts);

        // The frame right after the last animation already shows the result,
        // before the 200 ms wait, and every frame after it too.
        size_t lastAnimation = 0;
        for (size_t i = 0; i < frames.size(); ++i) {
            lastAnimation = frames[i].animation() ? i : lastAnimation;
        }
        ASSERT_LT(lastAnimation + 1, frames.size());
        EXPECT_EQ(frames[lastAnimation + 1].at, frames[lastAnimation].at + 40);
        for (size_t i = lastAnimation + 1; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].indicator, g.result);
            EXPECT_EQ(frames[i].highlight, Cell(-1, -1));
        }
    }
    EXPECT_TRUE(sawGreenTwelve) << "no game reached a green count of 12";
}
