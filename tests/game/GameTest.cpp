#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "SdlSeam.h"
#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "screens/Game.h"

using seam::Input;
using seam::Kind;

namespace {

using Cell = std::pair<int, int>;

const std::string RED_DISC = "data/bolinha/1.png";
const std::string GREEN_DISC = "data/bolinha/10.png";
const std::string HIGHLIGHT = "data/game/botaoreversiazul.png";
const std::string NUMBERS = "data/game/numbers.png";

void playGame(int mode, std::vector<Input> script) {
    seam::reset(std::move(script));
    {
        Game game(mode, 5, 1);
        game.run(seam::screen());
    }
    ASSERT_FALSE(seam::gaveUp()) << "the game did not end on its ESC";
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

// What one whole game-screen frame shows, read back from its blits.
struct Shown {
    std::map<Cell, std::string> discs;
    std::string indicator;
    bool highlighted = false;
    int highlightX = 0;
    int highlightY = 0;
    int green = -1;
    int red = -1;
};

int digitAt(const std::vector<seam::Call>& blits, int x, int y) {
    for (const seam::Call& b : blits) {
        if (b.name == NUMBERS && b.x == x && b.y == y) {
            EXPECT_TRUE(b.clipped);
            EXPECT_EQ(b.source.y, 0);
            EXPECT_EQ(b.source.w, 8);
            EXPECT_EQ(b.source.h, 21);
            EXPECT_EQ(b.source.x % 10, 1);
            return (b.source.x - 1) / 10;
        }
    }
    return -1;
}

Shown read(const seam::Frame& frame) {
    Shown s;
    for (const seam::Call& b : frame.blits) {
        if ((b.name == RED_DISC || b.name == GREEN_DISC) && b.y < 361) {
            s.discs[{(b.x - 41) / 40, (b.y - 41) / 40}] = b.name;
        } else if (b.x == 5 && b.y == 10) {
            s.indicator = b.name;
        } else if (b.name == HIGHLIGHT) {
            s.highlighted = true;
            s.highlightX = b.x;
            s.highlightY = b.y;
        }
    }
    const int gt = digitAt(frame.blits, 41, 371);
    const int gu = digitAt(frame.blits, 50, 371);
    const int rt = digitAt(frame.blits, 342, 371);
    const int ru = digitAt(frame.blits, 351, 371);
    if (gt >= 0 && gu >= 0) {
        s.green = 10 * gt + gu;
    }
    if (rt >= 0 && ru >= 0) {
        s.red = 10 * rt + ru;
    }
    return s;
}

// The game screen's own frames (an animation frame has no indicator blit at
// (5, 10) after its flip label, and no counts).
std::vector<Shown> gameFrames() {
    std::vector<Shown> out;
    for (const seam::Frame& f : seam::frames()) {
        Shown s = read(f);
        if (s.green >= 0) {
            out.push_back(s);
        }
    }
    return out;
}

std::vector<uint32_t> delays() {
    std::vector<uint32_t> out;
    for (const seam::Call& c : seam::calls()) {
        if (c.kind == Kind::Delay) {
            out.push_back(c.ms);
        }
    }
    return out;
}

size_t countDelays(uint32_t ms) {
    size_t n = 0;
    for (uint32_t d : delays()) {
        n += d == ms ? 1 : 0;
    }
    return n;
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
        const int other = opponentOf(turn);
        if (!MoveList(other, &board).isEmpty()) {
            turn = other;
        } else if (MoveList(turn, &board).isEmpty()) {
            turn = 0;
        }
    }
    finalTurn = turn;
    return out;
}

}  // namespace

TEST(GameTest, PicturesLoadAfterTheBoardsAndAreFreedInLoadOrderBeforeIt) {
    seam::reset({{0, 0, 0, 0, true}});
    seam::makeMissing("data/game/esctext.png");
    { Game game(1, 5, 1); }
    std::vector<std::string> loads;
    std::vector<std::string> frees;
    for (const seam::Call& c : seam::calls()) {
        (c.kind == Kind::Load ? loads : frees).push_back(c.name);
    }
    const std::vector<std::string> own = {
        "data/game/botaoreversiazul.png", "data/game/redturn.png", "data/game/greenturn.png",
        "data/game/numbers.png",          "data/game/redwin.png",  "data/game/greenwin.png",
        "data/game/nobodywin.png",        "data/game/esctext.png",
    };
    ASSERT_EQ(loads.size(), 12u + own.size());
    EXPECT_EQ(loads.front(), "data/game/tabuleiro.png");
    EXPECT_EQ(std::vector<std::string>(loads.end() - 8, loads.end()), own);
    // The missing picture is not freed; the Game's own go before the Board's.
    ASSERT_EQ(frees.size(), 12u + 7u);
    std::vector<std::string> ownFreed(own.begin(), own.end() - 1);
    EXPECT_EQ(std::vector<std::string>(frees.begin(), frees.begin() + 7), ownFreed);
    EXPECT_EQ(frees[7], "data/game/tabuleiro.png");
}

TEST(GameTest, EscAlreadyDownEndsTheGameBeforeAnyFrame) {
    playGame(1, {{0, 200, 200, 1, true}});
    EXPECT_EQ(delays(), (std::vector<uint32_t>{100, 50}));
    EXPECT_EQ(seam::find(Kind::Flip, ""), -1);
    EXPECT_EQ(seam::find(Kind::Blit, ""), -1);
}

TEST(GameTest, TwoPlayersOpeningMoveByClick) {
    playGame(1, clicksOn({{5, 4}}));
    // 100 before the first iteration, the animation, 200 after the move, 50 at the end.
    std::vector<uint32_t> expected{100};
    expected.insert(expected.end(), 10, 40);
    expected.push_back(200);
    expected.push_back(50);
    EXPECT_EQ(delays(), expected);

    const std::vector<Shown> shown = gameFrames();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().indicator, "data/game/redturn.png");
    EXPECT_EQ(shown.front().green, 2);
    EXPECT_EQ(shown.front().red, 2);
    const Shown& last = shown.back();
    EXPECT_EQ(last.indicator, "data/game/greenturn.png");
    EXPECT_EQ(last.green, 1);
    EXPECT_EQ(last.red, 4);
    const std::map<Cell, std::string> discs = {{{3, 3}, GREEN_DISC},
                                               {{3, 4}, RED_DISC},
                                               {{4, 3}, RED_DISC},
                                               {{4, 4}, RED_DISC},
                                               {{5, 4}, RED_DISC}};
    EXPECT_EQ(last.discs, discs);
    // Disc pictures beside the counts.
    bool greenBeside = false;
    bool redBeside = false;
    const std::vector<seam::Frame> all = seam::frames();
    for (const seam::Call& b : all.back().blits) {
        greenBeside |= b.name == GREEN_DISC && b.x == 1 && b.y == 361;
        redBeside |= b.name == RED_DISC && b.x == 361 && b.y == 361;
    }
    EXPECT_TRUE(greenBeside);
    EXPECT_TRUE(redBeside);
}

TEST(GameTest, HighlightOnlyOverALegalCellAndNothingInTheOuterBand) {
    const int x = seam::pixelOf(5);
    const int y = seam::pixelOf(4);
    playGame(1, {
                    {0, x, y, 0, false},        // (5,4): legal for red
                    {200, 240, 200, 0, false},  // its top-left pixel, still (5,4)
                    {300, 239, 200, 0, false},  // (4,4): taken
                    {400, 40, 79, 1, false},    // (0,0): not legal, clicked
                    {500, 20, y, 1, false},     // the outer band, clicked
                    {600, 380, y, 1, false},
                    {700, x, 365, 1, false},
                    {800, x, 5, 1, false},
                    {900, 10, 10, 0, true},
                });
    EXPECT_EQ(delays(), (std::vector<uint32_t>{100, 50}));  // no move at all
    // A frame only when what it shows changes: the highlight, then none.
    const std::vector<seam::Frame> all = seam::frames();
    ASSERT_EQ(all.size(), 2u);
    for (const seam::Frame& f : all) {
        const Shown s = read(f);
        if (f.drawnAt < 300) {
            ASSERT_TRUE(s.highlighted) << f.drawnAt;
            EXPECT_EQ(s.highlightX, 241);
            EXPECT_EQ(s.highlightY, 201);
        } else {
            EXPECT_FALSE(s.highlighted) << f.drawnAt;
        }
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
    playGame(1, script);
    EXPECT_EQ(delays(), (std::vector<uint32_t>{100, 50}));
    const std::vector<seam::Frame> all = seam::frames();
    size_t idleFrames = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        idleFrames += all[i].at < 1000 ? 1 : 0;
        if (i > 0) {
            EXPECT_GE(all[i].at - all[i - 1].at, Game::FRAME_INTERVAL_MS);
        }
    }
    EXPECT_EQ(idleFrames, 1u);
    EXPECT_GE(all.size(), 10u);
    // Still polling at the pace meanwhile: 900 ms at one iteration per 17 ms.
    size_t idlePolls = 0;
    for (const seam::Call& c : seam::calls()) {
        idlePolls += c.kind == Kind::Pace && c.at < 1000 ? 1 : 0;
    }
    EXPECT_GE(idlePolls, 50u);
    EXPECT_LE(idlePolls, 56u);
}

TEST(GameTest, HeldButtonPlaysTheNextLegalCellAfterTheWait) {
    const int gx = seam::pixelOf(5);
    const int gy = seam::pixelOf(3);
    playGame(1, {
                    {300, seam::pixelOf(5), seam::pixelOf(4), 1, false},
                    // Still held, moved during the animation onto a cell green may play.
                    {400, gx, gy, 1, false},
                    {3000, gx, gy, 1, true},
                });
    EXPECT_EQ(countDelays(200), 2u);
    // Between the first move's 200 ms wait and the second animation lies
    // exactly one frame: green's move comes in the very next iteration.
    const long wait = seam::find(Kind::Delay, "");
    long firstWait = -1;
    for (size_t i = static_cast<size_t>(wait); i < seam::calls().size(); ++i) {
        if (seam::calls()[i].kind == Kind::Delay && seam::calls()[i].ms == 200) {
            firstWait = static_cast<long>(i);
            break;
        }
    }
    ASSERT_NE(firstWait, -1);
    size_t flips = 0;
    size_t i = static_cast<size_t>(firstWait) + 1;
    for (; i < seam::calls().size(); ++i) {
        const seam::Call& c = seam::calls()[i];
        if (c.kind == Kind::Delay) {
            break;  // the first 40 ms of the second animation
        }
        flips += c.kind == Kind::Flip ? 1 : 0;
    }
    EXPECT_EQ(seam::calls()[i].ms, 40u);
    EXPECT_EQ(flips, 2u);  // the frame, then the animation's first frame
    const Shown last = gameFrames().back();
    EXPECT_EQ(last.discs.at({5, 3}), GREEN_DISC);
    EXPECT_EQ(last.indicator, "data/game/redturn.png");
}

TEST(GameTest, ComputerMovesFirstInModeThreeAndAnswersInModeTwo) {
    playGame(3, {{0, 10, 10, 0, false}, {2000, 10, 10, 0, true}});
    // The animation starts in the first iteration, before any game frame.
    const long firstFlip = seam::find(Kind::Flip, "");
    ASSERT_NE(firstFlip, -1);
    EXPECT_EQ(seam::calls()[firstFlip].at, 100u);
    EXPECT_EQ(seam::calls()[firstFlip + 1].kind, Kind::Delay);
    EXPECT_EQ(seam::calls()[firstFlip + 1].ms, 40u);
    EXPECT_EQ(countDelays(200), 1u);
    Shown last = gameFrames().back();
    EXPECT_EQ(last.red, 4);
    EXPECT_EQ(last.green, 1);
    EXPECT_EQ(last.indicator, "data/game/greenturn.png");
    EXPECT_FALSE(last.highlighted);

    // Mode 2: red clicks, the computer answers right after the wait.
    playGame(2, clicksOn({{5, 4}}));
    EXPECT_EQ(countDelays(200), 2u);
    last = gameFrames().back();
    EXPECT_EQ(last.red + last.green, 6);
    EXPECT_EQ(last.indicator, "data/game/redturn.png");
}

TEST(GameTest, EscDuringALongSearchEndsTheGameAtOnceWithoutAMove) {
    // The computer plays red at depth 7 on easy; green holds the button on the
    // first cell of its list, from 0 and from 1000. Red's third search is long.
    Board board;
    std::vector<Input> script;
    for (int ply = 0; ply < 5; ++ply) {
        MoveList moves(ply % 2 == 0 ? RED : GREEN, &board);
        int x = -1;
        int y = -1;
        if (ply % 2 == 0) {
            ComputerPlayer("data/ia/board8x8Values2.brd", 7, 0, RED).play(&moves);
            continue;
        }
        moves.first()->cell(x, y);
        moves.apply(x, y);
        script.push_back({ply == 1 ? 0u : 1000u, seam::pixelOf(x), seam::pixelOf(y), 1, false});
    }
    std::vector<uint32_t> expected{100};
    for (int move = 0; move < 5; ++move) {
        expected.insert(expected.end(), 10, 40);
        expected.push_back(200);
    }
    expected.push_back(50);

    // Every poll, the search's too, takes 5 ms of the clock. First ESC comes
    // long after the game has come to green, then 10 ms into red's last search.
    uint32_t escAt = 60000;
    for (const bool during : {false, true}) {
        std::vector<Input> inputs = script;
        inputs.push_back({escAt, 10, 10, 0, true});
        seam::reset(inputs);
        seam::advanceOnPump(5);
        {
            Game game(3, 7, 0);
            game.run(seam::screen());
        }
        ASSERT_FALSE(seam::gaveUp());
        if (during) {
            // Seen at the search's next poll: no move, no animation, no frame.
            expected.erase(expected.end() - 12, expected.end() - 1);
            EXPECT_EQ(delays(), expected);
            for (const seam::Call& c : seam::calls()) {
                EXPECT_TRUE(c.kind != Kind::Flip || c.at < escAt);
                EXPECT_TRUE(c.kind != Kind::Delay || c.at <= escAt + 5);
            }
            break;
        }
        // The moves and every wait as designed.
        EXPECT_EQ(delays(), expected);
        const Shown last = gameFrames().back();
        for (const auto& [cell, disc] : last.discs) {
            EXPECT_EQ(disc, board.getCell(cell.first, cell.second) == RED ? RED_DISC : GREEN_DISC);
        }
        EXPECT_EQ(last.discs.size(), 9u);
        // ESC next: 10 ms into red's last search, after the fourth wait.
        std::vector<uint32_t> waits;
        uint32_t lastFlipLabel = 0;
        for (const seam::Call& c : seam::calls()) {
            if (c.kind == Kind::Delay && c.ms == 200) {
                waits.push_back(c.at + c.ms);
            } else if (c.kind == Kind::Blit && c.name == "data/game/flip.png") {
                lastFlipLabel = c.at;
            }
        }
        ASSERT_GE(lastFlipLabel - waits[3], 20u) << "the search is too short for the test";
        escAt = waits[3] + 10;
    }
}

TEST(GameTest, AfterAGameAgainstTheComputerTheHighlightFollowsThePointerOverEveryCell) {
    for (const int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        // The person's button stays down while the pointer sweeps the board a
        // cell per iteration, so each of its moves is met and the game ends
        // long before the sweep does.
        std::vector<Input> script;
        uint32_t t = 0;
        for (int step = 0; t < 120000; ++step, t += Game::FRAME_INTERVAL_MS) {
            script.push_back({t, seam::pixelOf(step % 8), seam::pixelOf(step / 8 % 8), 1, false});
        }
        script.push_back({t, 10, 10, 0, true});
        seam::reset(script);
        {
            Game game(mode, 3, 0);
            game.run(seam::screen());
        }
        ASSERT_FALSE(seam::gaveUp());
        // The last two sweeps: the result, and the highlight on every cell.
        std::set<Cell> highlighted;
        for (const seam::Frame& f : seam::frames()) {
            const Shown s = read(f);
            if (f.drawnAt >= t - 128 * Game::FRAME_INTERVAL_MS) {
                EXPECT_NE(s.indicator.find("win.png"), std::string::npos) << "not over yet";
                EXPECT_TRUE(s.highlighted);
                highlighted.emplace((s.highlightX - 41) / 40, (s.highlightY - 41) / 40);
            }
        }
        EXPECT_EQ(highlighted.size(), 64u);
    }
}

TEST(GameTest, APassGivesTheTurnBackWithoutAMessage) {
    // After green's eighth move red has no legal move; green plays again.
    const std::vector<Cell> cells = {{2, 3}, {2, 2}, {4, 5}, {1, 3}, {0, 3},
                                     {0, 4}, {1, 1}, {0, 2}, {2, 0}};
    testing::internal::CaptureStdout();
    playGame(1, clicksOn(cells));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(countDelays(200), cells.size());

    // The indicator of the first frame after each move's wait.
    std::vector<std::string> after;
    const std::vector<seam::Call>& all = seam::calls();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].kind == Kind::Delay && all[i].ms == 200) {
            for (size_t j = i + 1; j < all.size(); ++j) {
                if (all[j].kind == Kind::Blit && all[j].x == 5 && all[j].y == 10) {
                    after.push_back(all[j].name);
                    break;
                }
            }
        }
    }
    const std::string r = "data/game/redturn.png";
    const std::string g = "data/game/greenturn.png";
    EXPECT_EQ(after, (std::vector<std::string>{g, r, g, r, g, r, g, g, r}));
    const std::vector<Shown> shown = gameFrames();
    EXPECT_EQ(shown.back().discs.at({2, 0}), GREEN_DISC);
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
        playGame(1, script);
        EXPECT_EQ(countDelays(200), g.cells.size());

        std::vector<std::pair<int, int>> seen;
        for (const Shown& s : gameFrames()) {
            if (seen.empty() || seen.back() != std::make_pair(s.green, s.red)) {
                seen.emplace_back(s.green, s.red);
            }
        }
        EXPECT_EQ(seen, counts);

        // The frame right after the last animation already shows the result,
        // before the 200 ms wait, and every frame after it too.
        const std::vector<seam::Frame> all = seam::frames();
        size_t lastWait = 0;
        for (size_t i = 0; i < seam::calls().size(); ++i) {
            if (seam::calls()[i].kind == Kind::Delay && seam::calls()[i].ms == 200) {
                lastWait = i;
            }
        }
        const uint32_t resultFrom = seam::calls()[lastWait].at;
        for (const seam::Frame& f : all) {
            const Shown s = read(f);
            if (f.at >= resultFrom && s.green >= 0) {
                EXPECT_EQ(s.indicator, g.result);
                EXPECT_FALSE(s.highlighted);
            }
        }
        for (const seam::Frame& f : all) {
            for (size_t i = 0; i + 1 < f.blits.size(); ++i) {
                const seam::Call& a = f.blits[i];
                const seam::Call& b = f.blits[i + 1];
                if (a.name == NUMBERS && a.x == 41 && a.source.x == 11 && b.x == 50 &&
                    b.source.x == 21) {
                    sawGreenTwelve = true;
                }
            }
        }
    }
    EXPECT_TRUE(sawGreenTwelve) << "no game reached a green count of 12";
}
